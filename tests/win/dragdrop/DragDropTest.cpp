// The OLE drag source as drop targets and the system's drag loop use it: the format enumerator,
// the data object's answers, a whole drag in this process whose target keeps the data object, and
// OLE's start when it already runs on the thread.
#include "dragdrop/DragDrop_win.h"
#include "support/Support.h"
#include "ui/Handles_win.h"

#include <gtest/gtest.h>

#include <iterator>
#include <thread>

namespace {

constexpr ULONG kFormats = ULONG(std::size(TextFormat));

bool Same(const FORMATETC& a, const FORMATETC& b) {
    return a.cfFormat == b.cfFormat && a.ptd == b.ptd && a.dwAspect == b.dwAspect &&
           a.lindex == b.lindex && a.tymed == b.tymed;
}

// The text of a block that GetData handed out; the block is freed.
template <class Char> std::basic_string<Char> TakeText(STGMEDIUM& m) {
    std::basic_string<Char> s = static_cast<const Char*>(GlobalLock(m.hGlobal));
    GlobalUnlock(m.hGlobal);
    ReleaseStgMedium(&m);
    return s;
}

} // namespace

TEST(TextDataObject, EnumeratesItsFormatsWithNextSkipResetAndIndependentClones) {
    auto data = ui::MakeCom<TTextDataObject>("x", L"x");
    ui::TComPtr<IEnumFORMATETC> e, clone;
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, clone.Put()), E_NOTIMPL);
    EXPECT_FALSE(clone);
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, e.Put()), S_OK);
    FORMATETC got[5]{};
    ULONG n = 99;
    EXPECT_EQ(e->Next(5, got, &n), S_FALSE);
    ASSERT_EQ(n, kFormats);
    EXPECT_TRUE(Same(got[0], {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}));
    EXPECT_TRUE(Same(got[1], {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}));
    EXPECT_EQ(e->Next(5, got, &n), S_FALSE);
    EXPECT_EQ(n, 0u);
    e->Reset();
    EXPECT_EQ(e->Next(1, got, nullptr), S_OK) << "the fetched count may be null";
    ASSERT_EQ(e->Clone(clone.Put()), S_OK);
    EXPECT_EQ(e->Skip(kFormats), S_FALSE);
    EXPECT_EQ(clone->Next(1, got, &n), S_OK) << "the clone goes on from where it was made";
    EXPECT_TRUE(Same(got[0], TextFormat[1]));
    // Counts of 2^31 and more are counts, not steps back before the list.
    for (ULONG huge : {0x80000000ul, 0xFFFFFFFFul}) {
        e->Reset();
        EXPECT_EQ(e->Skip(huge), S_FALSE) << huge;
        EXPECT_EQ(e->Next(1, got, &n), S_FALSE) << huge;
    }
}

TEST(TextDataObject, GivesANewBlockPerRequestAndRefusesOtherFormatsWithAnEmptyMedium) {
    auto data = ui::MakeCom<TTextDataObject>(" :-) ", L" :-) ");
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
    for (auto c : cases) {
        EXPECT_EQ(data->QueryGetData(&c.format), c.want) << c.format.cfFormat;
        STGMEDIUM a{TYMED_FILE, {reinterpret_cast<HBITMAP>(1)}, nullptr}, b = a;
        ASSERT_EQ(data->GetData(&c.format, &a), c.want) << c.format.cfFormat;
        if (FAILED(c.want)) {
            EXPECT_TRUE(a.tymed == TYMED_NULL && !a.hGlobal) << "a failure left the medium filled";
            continue;
        }
        ASSERT_EQ(data->GetData(&c.format, &b), S_OK);
        EXPECT_NE(a.hGlobal, b.hGlobal) << "each request gets a block of its own";
        EXPECT_TRUE(a.tymed == TYMED_HGLOBAL && !a.pUnkForRelease) << "the receiver owns it";
        if (c.format.cfFormat == CF_UNICODETEXT)
            EXPECT_EQ(TakeText<wchar_t>(a) + TakeText<wchar_t>(b), L" :-)  :-) ");
        else
            EXPECT_EQ(TakeText<char>(a) + TakeText<char>(b), " :-)  :-) ");
    }

    FORMATETC in = cases[2].format, out{};
    EXPECT_EQ(data->GetCanonicalFormatEtc(&in, &out), DATA_S_SAMEFORMATETC);
    in.ptd = nullptr;
    EXPECT_TRUE(Same(out, in)) << "the input with no target device";
    EXPECT_EQ(data->GetData(&in, nullptr), E_POINTER);
    DWORD cookie = 5;
    EXPECT_EQ(data->DAdvise(&in, 0, nullptr, &cookie), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(cookie, 0u);
}

namespace {

// A drop target that takes text by copy and keeps the data object it was given.
class TKeeper : public ui::TComObject<IDropTarget> {
  public:
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        return DragOver(0, {}, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL p, DWORD* effect) override {
        data->AddRef();
        kept = ui::TComPtr<IDataObject>::Attach(data);
        return DragOver(0, p, effect);
    }
    ui::TComPtr<IDataObject> kept;
};

HWND Popup(int top) {
    // A dialog-class window answers the hit test; a static control would let the mouse through.
    return CreateWindowExW(WS_EX_TOPMOST, WC_DIALOG, L"", WS_POPUP | WS_VISIBLE, 600, top, 100, 100,
                           nullptr, nullptr, nullptr, nullptr);
}

} // namespace

TEST(PerformOLEDragDrop, ATargetThatKeepsTheDataObjectKeepsItAliveAndNothingLeaks) {
    const TOleSession ole;
    ASSERT_TRUE(ole.Ready());
    ui::TUniqueWindow from(Popup(100)), to(Popup(300));
    auto keeper = ui::MakeCom<TKeeper>();
    ASSERT_EQ(RegisterDragDrop(to.Get(), keeper.Get()), S_OK);
    const LONG before = ui::ComLiveObjects();
    support::MouseButton({650, 150}, true);
    ASSERT_TRUE(support::WaitFor([] { return GetKeyState(VK_LBUTTON) < 0; }));
    // Once the drag loop has the mouse: over the target, a little further, release.
    std::thread hand([&from] {
        support::WaitFor([&] { return support::CaptureOf(from.Get()) != nullptr; });
        support::MoveMouse({650, 350});
        support::MouseButton({652, 351}, false);
    });
    EXPECT_TRUE(PerformOLEDragDrop(" :-) "));
    hand.join();

    // The program let go of its references; the target's keep the data object, which works.
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

TEST(OleSession, AlreadyRunningOleCountsAsStartedAndStaysBalanced) {
    std::thread([] { // a fresh thread: what it leaves initialised is its own
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        EXPECT_TRUE(TOleSession().Ready()) << "S_FALSE, OLE already running, is a start";
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE) << "unbalanced";
        CoUninitialize();
        OleUninitialize();
    })
        .join();
}
