// The OLE drag source as a drop target and the system's drag loop use it: the format enumerator,
// the data object's answers, the drop source's decisions, a whole drag in this process with a
// target that keeps the data object, and OLE's start when it is already running on the thread.
#include "dragdrop/DragDrop_win.h"
#include "support/Support.h"
#include "ui/Handles_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <iterator>
#include <thread>

using support::WaitFor;

namespace {

constexpr ULONG kFormats = ULONG(std::size(TextFormat));

bool SameFormat(const FORMATETC& a, const FORMATETC& b) {
    return a.cfFormat == b.cfFormat && a.ptd == b.ptd && a.dwAspect == b.dwAspect &&
           a.lindex == b.lindex && a.tymed == b.tymed;
}

ui::TComPtr<IDataObject> TextObject(const std::string& s) {
    return ui::TComPtr<IDataObject>::Attach(new TTextDataObject(s, support::Widen(s)));
}

// The text of a block that GetData handed out, which the caller then frees.
template <class Char> std::basic_string<Char> TakeText(STGMEDIUM& m) {
    const Char* p = static_cast<const Char*>(GlobalLock(m.hGlobal));
    std::basic_string<Char> s = p ? p : std::basic_string<Char>();
    GlobalUnlock(m.hGlobal);
    ReleaseStgMedium(&m);
    return s;
}

template <class I> HRESULT Query(IUnknown* from) {
    ui::TComPtr<I> r;
    return from->QueryInterface(__uuidof(I), reinterpret_cast<void**>(r.Put()));
}

} // namespace

TEST(TextDataObject, EnumeratesItsFormatsWithNextSkipResetAndIndependentClones) {
    const LONG before = ui::ComLiveObjects();
    {
        auto data = TextObject("x");
        ui::TComPtr<IEnumFORMATETC> e, clone;
        ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, e.Put()), S_OK);
        EXPECT_TRUE(
            SameFormat(TextFormat[0], {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}));

        FORMATETC got[5]{};
        ULONG n = 99;
        EXPECT_EQ(e->Next(5, got, &n), S_FALSE);
        ASSERT_EQ(n, kFormats);
        for (ULONG i = 0; i < kFormats; ++i)
            EXPECT_TRUE(SameFormat(got[i], TextFormat[i])) << i;
        EXPECT_EQ(e->Next(5, got, &n), S_FALSE);
        EXPECT_EQ(n, 0u);
        EXPECT_EQ(e->Reset(), S_OK);
        EXPECT_EQ(e->Next(1, got, nullptr), S_OK) << "the fetched count may be null";
        EXPECT_TRUE(SameFormat(got[0], TextFormat[0]));

        // The clone starts where the original is and goes on alone.
        ASSERT_EQ(e->Clone(clone.Put()), S_OK);
        EXPECT_EQ(e->Skip(kFormats), S_FALSE) << "past the end";
        EXPECT_EQ(e->Next(1, got, &n), S_FALSE);
        EXPECT_EQ(n, 0u) << "Skip past the end leaves the enumerator at its end";
        EXPECT_EQ(clone->Next(1, got, &n), S_OK);
        EXPECT_TRUE(SameFormat(got[0], TextFormat[1]));

        // Counts of 2^31 and more are counts, not negative steps back before the list.
        for (ULONG huge : {0x80000000ul, 0xFFFFFFFFul}) {
            e->Reset();
            EXPECT_EQ(e->Skip(huge), S_FALSE) << huge;
            EXPECT_EQ(e->Next(1, got, &n), S_FALSE) << huge;
            EXPECT_EQ(n, 0u) << huge;
        }

        IEnumFORMATETC* none = reinterpret_cast<IEnumFORMATETC*>(1);
        EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &none), E_NOTIMPL);
        EXPECT_EQ(none, nullptr);
    }
    EXPECT_EQ(ui::ComLiveObjects(), before);
}

TEST(TextDataObject, GivesANewBlockPerRequestAndRefusesOtherFormatsWithAnEmptyMedium) {
    auto data = TextObject(" :-) ");
    DVTARGETDEVICE device{};
    const struct {
        FORMATETC format;
        HRESULT want;
    } cases[] = {
        {{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, S_OK},
        {{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, S_OK},
        // lindex and the target device are not looked at; other media may be offered besides.
        {{CF_TEXT, &device, DVASPECT_CONTENT, 7, TYMED_ISTREAM | TYMED_HGLOBAL}, S_OK},
        {{CF_TEXT, nullptr, DVASPECT_THUMBNAIL, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},
        {{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_ISTREAM}, DV_E_FORMATETC},
        {{CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}, DV_E_FORMATETC},
    };
    for (const auto& c : cases) {
        FORMATETC f = c.format;
        EXPECT_EQ(data->QueryGetData(&f), c.want) << f.cfFormat;
        STGMEDIUM a{TYMED_FILE, {reinterpret_cast<HBITMAP>(1)}, nullptr}, b = a;
        ASSERT_EQ(data->GetData(&f, &a), c.want) << f.cfFormat;
        if (FAILED(c.want)) {
            EXPECT_EQ(a.tymed, DWORD(TYMED_NULL)) << "a failed GetData leaves the medium empty";
            EXPECT_EQ(a.hGlobal, nullptr);
            continue;
        }
        ASSERT_EQ(data->GetData(&f, &b), S_OK);
        ASSERT_EQ(a.tymed, DWORD(TYMED_HGLOBAL));
        EXPECT_NE(a.hGlobal, b.hGlobal) << "each request gets a block of its own";
        EXPECT_EQ(a.pUnkForRelease, nullptr) << "the receiver owns the block";
        if (f.cfFormat == CF_TEXT) {
            EXPECT_EQ(TakeText<char>(a), " :-) ");
            EXPECT_EQ(TakeText<char>(b), " :-) ");
        } else {
            EXPECT_EQ(TakeText<wchar_t>(a), L" :-) ");
            EXPECT_EQ(TakeText<wchar_t>(b), L" :-) ");
        }
    }

    FORMATETC in = cases[2].format, out{};
    EXPECT_EQ(data->GetCanonicalFormatEtc(&in, &out), DATA_S_SAMEFORMATETC);
    in.ptd = nullptr;
    EXPECT_TRUE(SameFormat(out, in)) << "the input with no target device";
    EXPECT_EQ(data->GetCanonicalFormatEtc(&in, nullptr), E_POINTER);
    EXPECT_EQ(data->GetData(&in, nullptr), E_POINTER);

    // What the data object does not do fails, and harms nothing.
    STGMEDIUM m{};
    DWORD cookie = 5;
    IEnumSTATDATA* advises = nullptr;
    EXPECT_TRUE(FAILED(data->GetDataHere(&in, &m)));
    EXPECT_TRUE(FAILED(data->SetData(&in, &m, FALSE)));
    EXPECT_EQ(data->DAdvise(&in, 0, nullptr, &cookie), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(data->DUnadvise(1), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(data->EnumDAdvise(&advises), OLE_E_ADVISENOTSUPPORTED);
}

TEST(TextDataObject, EachObjectAnswersOnlyItsOwnInterface) {
    auto data = TextObject("x");
    auto source = ui::MakeCom<TTextSource>();
    ui::TComPtr<IEnumFORMATETC> e;
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, e.Put()), S_OK);
    const struct {
        IUnknown* object;
        HRESULT data, drop, enumerator;
    } cases[] = {{data.Get(), S_OK, E_NOINTERFACE, E_NOINTERFACE},
                 {source->Unknown(), E_NOINTERFACE, S_OK, E_NOINTERFACE},
                 {e.Get(), E_NOINTERFACE, E_NOINTERFACE, S_OK}};
    for (const auto& c : cases) {
        EXPECT_EQ(Query<IUnknown>(c.object), S_OK);
        EXPECT_EQ(Query<IDataObject>(c.object), c.data);
        EXPECT_EQ(Query<IDropSource>(c.object), c.drop);
        EXPECT_EQ(Query<IEnumFORMATETC>(c.object), c.enumerator);
    }
}

TEST(TextSource, DropsOnReleaseOfTheLeftButtonAndCancelsOnEsc) {
    auto source = ui::MakeCom<TTextSource>();
    const struct {
        BOOL esc;
        DWORD keys;
        HRESULT want;
    } cases[] = {{FALSE, MK_LBUTTON, S_OK},
                 {FALSE, MK_LBUTTON | MK_SHIFT | MK_CONTROL, S_OK},
                 {FALSE, 0, DRAGDROP_S_DROP},
                 {FALSE, MK_RBUTTON | MK_MBUTTON, DRAGDROP_S_DROP},
                 {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
                 {TRUE, 0, DRAGDROP_S_CANCEL}};
    for (const auto& c : cases)
        EXPECT_EQ(source->QueryContinueDrag(c.esc, c.keys), c.want) << c.esc << " " << c.keys;
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
}

namespace {

// A drop target that accepts text by copy and keeps the data object it was given after the drop.
class TKeeper : public ui::TComObject<IDropTarget> {
  public:
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
        data->AddRef();
        kept = ui::TComPtr<IDataObject>::Attach(data);
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    ui::TComPtr<IDataObject> kept;
};

} // namespace

TEST(PerformOLEDragDrop, ATargetThatKeepsTheDataObjectKeepsItAliveAndNothingLeaks) {
    const TOleSession ole;
    ASSERT_TRUE(ole.Ready());
    // The drag begins pressed on one window of ours and ends released on the target window
    // (windows that answer the hit test: a static control lets the mouse through).
    ui::TUniqueWindow from(CreateWindowExW(WS_EX_TOPMOST, WC_DIALOG, L"", WS_POPUP | WS_VISIBLE,
                                           600, 100, 100, 100, nullptr, nullptr, nullptr, nullptr));
    ui::TUniqueWindow to(CreateWindowExW(WS_EX_TOPMOST, WC_DIALOG, L"", WS_POPUP | WS_VISIBLE, 600,
                                         300, 100, 100, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(from && to);
    auto keeper = ui::MakeCom<TKeeper>();
    ASSERT_EQ(RegisterDragDrop(to.Get(), keeper.Get()), S_OK);
    const LONG before = ui::ComLiveObjects();

    support::MoveMouse({650, 150});
    INPUT down{INPUT_MOUSE, {}};
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &down, sizeof down);
    ASSERT_TRUE(WaitFor([] { return GetKeyState(VK_LBUTTON) < 0; })) << "the press never came";

    // Once the drag loop has the mouse: over the target, a little further, release.
    const DWORD thread = GetCurrentThreadId();
    std::atomic<bool> moved{false};
    std::thread hand([&] {
        WaitFor([&] {
            GUITHREADINFO gti{sizeof gti, 0, {}, {}, {}, {}, {}, {}, {}};
            return GetGUIThreadInfo(thread, &gti) && gti.hwndCapture;
        });
        support::MoveMouse({650, 350});
        support::MoveMouse({652, 351});
        INPUT up{INPUT_MOUSE, {}};
        up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &up, sizeof up);
        moved = true;
    });
    const bool dropped = PerformOLEDragDrop(" :-) ");
    hand.join();
    ASSERT_TRUE(moved);
    EXPECT_TRUE(dropped);

    // The program let go of its references; the target's keeps the data object, and it works.
    ASSERT_TRUE(keeper->kept);
    EXPECT_EQ(ui::ComLiveObjects(), before + 1);
    FORMATETC f = TextFormat[0];
    STGMEDIUM m{};
    ASSERT_EQ(keeper->kept->GetData(&f, &m), S_OK);
    EXPECT_EQ(TakeText<char>(m), " :-) ");
    keeper->kept.Reset();
    EXPECT_EQ(ui::ComLiveObjects(), before);
    EXPECT_EQ(RevokeDragDrop(to.Get()), S_OK);
}

TEST(OleSession, AnySuccessCountsAndOnlyASuccessIsUndone) {
    // Each case on a fresh thread, so that what it leaves initialised is its own.
    const auto onThread = [](auto f) { std::thread(f).join(); };
    onThread([] {
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        {
            const TOleSession again; // S_FALSE: OLE already runs here
            EXPECT_TRUE(again.Ready());
        }
        // Balanced: the first initialisation still holds.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
        CoUninitialize();
        OleUninitialize();
    });
    onThread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        {
            const TOleSession ole; // a multithreaded apartment cannot take OLE
            EXPECT_FALSE(ole.Ready());
        }
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE)
            << "a failed start undid someone else's initialisation";
        CoUninitialize();
        CoUninitialize();
    });
}
