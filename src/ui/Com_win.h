#pragma once
// The COM base of the wrapper layer: IUnknown for objects we hand to other code (drag-out data
// objects, drop sources, format enumerators, accessible objects), an owner for interface pointers,
// and the guard that keeps C++ exceptions from crossing a COM call.
//
//   class TDropSource : public ui::TComObject<IDropSource> { ... };
//   class TPaletteAccessible : public ui::TComObject<ui::TWithBases<IAccessible, IDispatch>> {...};
//
//   HRESULT STDMETHODCALLTYPE GetData(FORMATETC* fmt, STGMEDIUM* medium) override {
//       return ui::ComGuard([&] { ...; return S_OK; }, medium);
//   }
//
// A new object starts with one reference, held by its creator (wrap it with TComPtr::Attach); it
// deletes itself when the last reference goes. Every object counts itself in ComLiveObjects() from
// construction to destruction, so a test can see a leak (the count stays up) or a double release
// (the count drops below where it started, or the object is used after it went).
#include <new>
#include <type_traits>
#include <utility>
#include <windows.h>
#include <unknwn.h>

namespace ui {

namespace detail {
inline volatile LONG comLiveObjects = 0;
} // namespace detail

// How many TComObject instances exist in this process right now.
inline LONG ComLiveObjects() noexcept {
    return InterlockedCompareExchange(&detail::comLiveObjects, 0, 0);
}

// Lists an interface together with the base interfaces QueryInterface answers through it, for
// interfaces that derive from something besides IUnknown: TWithBases<IAccessible, IDispatch>.
template <class Interface, class... Bases> struct TWithBases {};

namespace detail {

template <class Entry> struct TInterfaceEntry {
    using Interface = Entry;
    static bool Answers(REFIID iid) { return IsEqualIID(iid, __uuidof(Interface)); }
};

template <class Interface_, class... Bases>
struct TInterfaceEntry<TWithBases<Interface_, Bases...>> {
    using Interface = Interface_;
    static_assert((std::is_base_of_v<Bases, Interface_> && ...), "a listed base is not a base");
    static bool Answers(REFIID iid) {
        return IsEqualIID(iid, __uuidof(Interface)) || (IsEqualIID(iid, __uuidof(Bases)) || ...);
    }
};

template <class Entry> using TInterfaceOf = typename TInterfaceEntry<Entry>::Interface;

template <class First, class...> struct TFirst { using Type = First; };

} // namespace detail

// IUnknown for a class implementing the listed interfaces (each an interface type or a
// TWithBases entry). QueryInterface answers IUnknown, each listed interface and the bases listed
// with it; a null out-pointer gets E_POINTER. AddRef and Release are thread-safe.
template <class... Entries> class TComObject : public detail::TInterfaceOf<Entries>... {
    static_assert(sizeof...(Entries) > 0, "a COM object implements at least one interface");

  public:
    TComObject(const TComObject&) = delete;
    TComObject& operator=(const TComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown))
            *out = Unknown();
        else
            (Find<Entries>(iid, out) || ...);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs);
        if (n == 0)
            delete this;
        return ULONG(n);
    }

    // The object's identity: the IUnknown that QueryInterface answers (no reference added).
    IUnknown* Unknown() noexcept {
        return static_cast<detail::TInterfaceOf<typename detail::TFirst<Entries...>::Type>*>(this);
    }

  protected:
    TComObject() noexcept { InterlockedIncrement(&detail::comLiveObjects); }
    virtual ~TComObject() { InterlockedDecrement(&detail::comLiveObjects); }

  private:
    template <class Entry> bool Find(REFIID iid, void** out) {
        if (!detail::TInterfaceEntry<Entry>::Answers(iid))
            return false;
        // The interface and its bases share one vtable pointer, so one pointer serves them all.
        *out = static_cast<detail::TInterfaceOf<Entry>*>(this);
        return true;
    }

    volatile LONG refs = 1;
};

// Owns one reference to an interface. Copying adds a reference, moving hands it over.
template <class T> class TComPtr {
  public:
    TComPtr() = default;
    // Takes over a reference the caller already holds (a new object's first one, an out-pointer).
    static TComPtr Attach(T* p) noexcept {
        TComPtr r;
        r.p = p;
        return r;
    }
    TComPtr(const TComPtr& o) noexcept : p(o.p) {
        if (p)
            p->AddRef();
    }
    TComPtr(TComPtr&& o) noexcept : p(std::exchange(o.p, nullptr)) {}
    TComPtr& operator=(TComPtr o) noexcept {
        std::swap(p, o.p);
        return *this;
    }
    ~TComPtr() { Reset(); }

    T* Get() const noexcept { return p; }
    T* operator->() const noexcept { return p; }
    explicit operator bool() const noexcept { return p != nullptr; }
    void Reset() noexcept {
        if (T* old = std::exchange(p, nullptr))
            old->Release();
    }
    // Gives the reference away without releasing it (to an out-pointer).
    T* Detach() noexcept { return std::exchange(p, nullptr); }
    // Releases what is held and returns the address for a function that fills an out-pointer.
    T** Put() noexcept {
        Reset();
        return &p;
    }

  private:
    T* p = nullptr;
};

// Creates a COM object with its first reference owned by the returned pointer.
template <class T, class... Args> TComPtr<T> MakeCom(Args&&... args) {
    return TComPtr<T>::Attach(new T(std::forward<Args>(args)...));
}

// Runs f at the boundary of a COM method and turns what it does into the method's HRESULT:
// - f returning HRESULT gives that result; f returning void gives S_OK;
// - std::bad_alloc gives E_OUTOFMEMORY, any other exception E_UNEXPECTED: nothing crosses the call;
// - each pointer in `out` is an out-parameter of the method: if any is null the answer is
//   E_POINTER and f does not run; otherwise each is cleared to its empty value (nullptr, zero,
//   VT_EMPTY, TYMED_NULL) before f runs and again when f throws, so a failure never hands the
//   caller half-filled output. f fills them last, once nothing can fail any more.
template <class F, class... Out> HRESULT ComGuard(F&& f, Out*... out) noexcept {
    if (((out == nullptr) || ...))
        return E_POINTER;
    ((*out = Out{}), ...);
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<F&>>) {
            f();
            return S_OK;
        } else {
            return f();
        }
    } catch (const std::bad_alloc&) {
        ((*out = Out{}), ...);
        return E_OUTOFMEMORY;
    } catch (...) {
        ((*out = Out{}), ...);
        return E_UNEXPECTED;
    }
}

} // namespace ui
