#ifndef MOODPAD_ABOUT_RESOURCE_H
#define MOODPAD_ABOUT_RESOURCE_H
// The about and credits windows' resource identifiers, compiled into the program's resource script
// through app/resource.h. Plain defines only: the resource compiler reads this file too.

#define IDI_CREDITS 2
#define IDB_ABOUTLOGO 107

#endif
