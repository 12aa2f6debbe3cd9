#pragma once
// The palette as screen readers see it: an IAccessible whose children are the faces, each a push
// button named by its sequence and described by its hint, with its place on the screen, its focus
// and hot states, and choosing as its default action. Answers WM_GETOBJECT; works across
// processes through the system's accessibility library, which is loaded on first use so that a
// start-up without a screen reader does not pay for it.
#include "Messages.h"
#include "ui/Com_win.h"

#include <oleacc.h>
#include <windows.h>

class TPaletteWindow;

class TPaletteAccessible : public ui::TComObject<ui::TWithBases<IAccessible, IDispatch>> {
  public:
    // A new object holding one reference, owned by the palette; nullptr when out of memory.
    static TPaletteAccessible* Create(TPaletteWindow& palette) noexcept;
    // The answer to WM_GETOBJECT (OBJID_CLIENT) with that message's wParam.
    LRESULT Result(WPARAM wParam) noexcept;
    // The palette is going: every later call fails, and the palette's reference is released.
    void Disconnect() noexcept;

    // IDispatch: the object is not scriptable.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* key) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override;

  private:
    explicit TPaletteAccessible(TPaletteWindow& palette) : palette(&palette) {}
    // The face a VARIANT names: 0 for the palette itself, 1..N for a face; -1 for anything else.
    long Child(const VARIANT& v) const;
    // Runs f(child) for a valid child (E_INVALIDARG otherwise) at a COM boundary: no exception
    // leaves, and the out-parameters are cleared first (see ui::ComGuard).
    template <class F, class... Out>
    HRESULT ForChild(const VARIANT& child, F&& f, Out*... out) noexcept;
    TPaletteWindow* palette;
};
