#pragma once
// Dragging a text out of the program with OLE: a data object that offers the text, a drop source
// that drops on release of the left button and cancels on Esc, and the enumerator of the formats
// offered. It knows nothing of the palette, only the text it is given. Also the scope that keeps
// OLE initialised on the program's thread.
#include "ui/Com_win.h"

#include <string>
#include <windows.h>
#include <ole2.h>

// One format a dragged text is offered in: content aspect, global memory, no target device.
constexpr FORMATETC InitializeTextFormat(CLIPFORMAT format) {
    return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

// The formats offered, in the order a target sees them when it enumerates: 8-bit text in the
// ANSI code page, then the same text in UTF-16. A further format is one more row here and one
// more case in TTextDataObject::RenderText.
inline constexpr FORMATETC TextFormat[] = {InitializeTextFormat(CF_TEXT),
                                           InitializeTextFormat(CF_UNICODETEXT)};

// Enumerates a list of formats it does not own (TextFormat lives for the whole run).
class TEnumFormatEtc : public ui::TComObject<IEnumFORMATETC> {
  public:
    TEnumFormatEtc(const FORMATETC* list, ULONG count, ULONG index)
        : FFormatList(list), FFormatCount(count), FIndex(index) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, FORMATETC* out, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG n) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** out) override;

  private:
    const FORMATETC* FFormatList;
    ULONG FFormatCount;
    ULONG FIndex;
};

// Offers one text for reading, in every format of TextFormat. Every GetData makes a new memory
// block that the receiver owns.
class TTextDataObject : public ui::TComObject<IDataObject> {
  public:
    // `wide` is the same text in UTF-16, offered as CF_UNICODETEXT.
    TTextDataObject(std::string text, std::wstring wide)
        : m_Text(std::move(text)), m_WideText(std::move(wide)) {}

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** out) override;

    // A new moveable block holding the text in `format` with its terminating NUL; null when no
    // memory can be had.
    HGLOBAL RenderText(CLIPFORMAT format) const;

  private:
    std::string m_Text;
    std::wstring m_WideText;
};

// Drops when the left button is released, cancels on Esc; the system's cursors show the effect.
class TTextSource : public ui::TComObject<IDropSource> {
  public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escPressed, DWORD keys) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

// Runs one whole drag of `s` as text (the system's modal drag loop runs inside). True when a
// target took it with a copy or a move; a move removes nothing here.
bool PerformOLEDragDrop(const std::string& s);

// OLE initialised on this thread for its lifetime. Any success counts, also S_FALSE when OLE
// already was initialised here; only a successful start is balanced by OleUninitialize.
class TOleSession {
  public:
    TOleSession() : hr(OleInitialize(nullptr)) {}
    ~TOleSession() {
        if (SUCCEEDED(hr))
            OleUninitialize();
    }
    TOleSession(const TOleSession&) = delete;
    TOleSession& operator=(const TOleSession&) = delete;
    bool Ready() const { return SUCCEEDED(hr); }

  private:
    HRESULT hr;
};
