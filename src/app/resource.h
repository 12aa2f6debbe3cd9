#ifndef MOODPAD_RESOURCE_H
#define MOODPAD_RESOURCE_H
// Resource identifiers shared by Moodpad.rc and the program. Plain defines only: the resource
// compiler reads this file too.

// The icon with the lowest identifier is the one Explorer shows for the program file.
#define IDI_MAINICON 1
#include "../about/AboutResource.h" // IDI_CREDITS 2, IDB_ABOUTLOGO 107

#define IDB_SPLASH 101
#define IDB_MINIMIZE 102
#define IDB_CUSTOMIZE 103
#define IDB_ORDER 104
#define IDB_ABOUT 105
#define IDB_HELP 106

#endif
