// The COM base: QueryInterface follows COM's identity rules, the reference count is exact (the live
// counter sees a leak or an early delete), and ComGuard keeps every exception and null out-pointer
// from crossing a COM call.
#include "ui/AppError.h"
#include "ui/Com_win.h"

#include <gtest/gtest.h>

#include <ole2.h>
#include <shobjidl.h>

namespace {

// Two interfaces, one of them reached through its base as well.
class TProbe : public ui::TComObject<IDropSource, ui::TWithBases<IPersistFolder, IPersist>> {
  public:
    explicit TProbe(int& destroyed) : destroyed(destroyed) {}
    ~TProbe() override { ++destroyed; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE) override { return S_OK; }

  private:
    int& destroyed;
};

template <class I> ui::TComPtr<I> Query(IUnknown* from) {
    ui::TComPtr<I> r;
    from->QueryInterface(__uuidof(I), reinterpret_cast<void**>(r.Put()));
    return r;
}

} // namespace

TEST(ComObject, AnswersEachInterfaceWithOneIdentityAndCountsExactly) {
    const LONG before = ui::ComLiveObjects();
    int destroyed = 0;
    {
        auto probe = ui::MakeCom<TProbe>(destroyed);
        EXPECT_EQ(ui::ComLiveObjects(), before + 1);

        {
            auto drop = Query<IDropSource>(probe->Unknown());
            auto folder = Query<IPersistFolder>(probe->Unknown());
            auto persist = Query<IPersist>(drop.Get());
            ASSERT_TRUE(drop && folder && persist);
            EXPECT_EQ(static_cast<IPersist*>(folder.Get()), persist.Get());
            // IUnknown is one pointer whichever interface it is asked from.
            EXPECT_EQ(Query<IUnknown>(drop.Get()).Get(), Query<IUnknown>(persist.Get()).Get());
            void* none = &destroyed;
            EXPECT_EQ(probe->QueryInterface(__uuidof(IDataObject), &none), E_NOINTERFACE);
            EXPECT_FALSE(none);
            EXPECT_EQ(probe->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
        }
        // No reference taken above is given back twice; that none is kept shows at the scope's end.
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(ui::ComLiveObjects(), before);
}

TEST(ComGuard, MapsResultsAndExceptionsAndGuardsOutPointers) {
    EXPECT_EQ(ui::ComGuard([] {}), S_OK);
    EXPECT_EQ(ui::ComGuard([] { return S_FALSE; }), S_FALSE);
    EXPECT_EQ(ui::ComGuard([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(ui::ComGuard([]() -> HRESULT { throw ui::TAppError("x"); }), E_UNEXPECTED);
    EXPECT_EQ(ui::ComGuard([]() -> HRESULT { throw 42; }), E_UNEXPECTED);

    bool ran = false;
    IUnknown* unk = reinterpret_cast<IUnknown*>(0x1234);
    EXPECT_EQ(ui::ComGuard([&] { ran = true; }, &unk, static_cast<STGMEDIUM*>(nullptr)), E_POINTER);
    EXPECT_FALSE(ran) << "f must not run with a null out-pointer";

    // Out-parameters are empty before f runs, and again when it throws half-way.
    STGMEDIUM medium{TYMED_HGLOBAL, {}, nullptr};
    EXPECT_EQ(ui::ComGuard(
                  [&] {
                      EXPECT_EQ(unk, nullptr);
                      EXPECT_EQ(medium.tymed, DWORD(TYMED_NULL));
                      medium.tymed = TYMED_HGLOBAL;
                      throw std::bad_alloc();
                  },
                  &unk, &medium),
              E_OUTOFMEMORY);
    EXPECT_EQ(medium.tymed, DWORD(TYMED_NULL));
}
