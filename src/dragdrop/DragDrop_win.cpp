// The OLE drag source: data object, drop source, format enumerator and the drag itself.
#include "dragdrop/DragDrop_win.h"

#include "ui/Handles_win.h"
#include "ui/Window_win.h"

#include <cstring>
#include <iterator>
#include <new>

// --- TEnumFormatEtc -----------------------------------------------------------------------------

HRESULT TEnumFormatEtc::Next(ULONG wanted, FORMATETC* out, ULONG* fetched) {
    if (!out)
        return E_POINTER;
    ULONG n = 0;
    for (; n < wanted && FIndex < FFormatCount; ++n)
        out[n] = FFormatList[FIndex++];
    if (fetched)
        *fetched = n;
    return n == wanted ? S_OK : S_FALSE;
}

HRESULT TEnumFormatEtc::Skip(ULONG n) {
    // Unsigned on both sides: a count of 2^31 or more must not look negative.
    if (n <= FFormatCount - FIndex) {
        FIndex += n;
        return S_OK;
    }
    FIndex = FFormatCount;
    return S_FALSE;
}

HRESULT TEnumFormatEtc::Reset() {
    FIndex = 0;
    return S_OK;
}

HRESULT TEnumFormatEtc::Clone(IEnumFORMATETC** out) {
    if (!out)
        return E_POINTER;
    *out = new (std::nothrow) TEnumFormatEtc(FFormatList, FFormatCount, FIndex);
    return *out ? S_OK : E_OUTOFMEMORY;
}

// --- TTextDataObject ----------------------------------------------------------------------------

HRESULT TTextDataObject::QueryGetData(FORMATETC* format) {
    if (!format)
        return E_POINTER;
    if (format->dwAspect != DVASPECT_CONTENT || !(format->tymed & TYMED_HGLOBAL))
        return DV_E_FORMATETC;
    for (const FORMATETC& f : TextFormat)
        if (f.cfFormat == format->cfFormat)
            return S_OK;
    return DV_E_FORMATETC;
}

HRESULT TTextDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (!medium)
        return E_POINTER;
    // Empty (TYMED_NULL) unless the text is in it: a failure hands out nothing half-made.
    *medium = STGMEDIUM{};
    const HRESULT query = QueryGetData(format);
    if (query != S_OK)
        return query;
    HGLOBAL block = RenderText(format->cfFormat);
    if (!block)
        return E_OUTOFMEMORY;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = block; // no release object: the receiver owns the block
    return S_OK;
}

HRESULT TTextDataObject::GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) {
    if (!in || !out)
        return E_POINTER;
    // Every format offered is its own canonical form, which has no target device.
    *out = *in;
    out->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT TTextDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    *out = new (std::nothrow) TEnumFormatEtc(TextFormat, ULONG(std::size(TextFormat)), 0);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT TTextDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD* cookie) {
    if (cookie)
        *cookie = 0;
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TTextDataObject::EnumDAdvise(IEnumSTATDATA** out) {
    if (out)
        *out = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}

HGLOBAL TTextDataObject::RenderText(CLIPFORMAT format) const {
    const bool wide = format == CF_UNICODETEXT;
    const void* text = wide ? static_cast<const void*>(m_WideText.c_str()) : m_Text.c_str();
    const SIZE_T bytes = wide ? (m_WideText.size() + 1) * sizeof(wchar_t) : m_Text.size() + 1;
    ui::TUniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes));
    void* p = block ? GlobalLock(block.Get()) : nullptr;
    if (!p)
        return nullptr;
    std::memcpy(p, text, bytes);
    GlobalUnlock(block.Get());
    return block.Release();
}

// --- TTextSource and the drag -------------------------------------------------------------------

HRESULT TTextSource::QueryContinueDrag(BOOL escPressed, DWORD keys) {
    if (escPressed)
        return DRAGDROP_S_CANCEL;
    return keys & MK_LBUTTON ? S_OK : DRAGDROP_S_DROP;
}

bool PerformOLEDragDrop(const std::string& s) {
    // CF_TEXT carries the system's code page, whatever the settings file's encoding.
    const std::wstring wide = ui::Widen(s);
    auto data = ui::MakeCom<TTextDataObject>(ui::Utf8Text() ? ui::AnsiText(wide) : s, wide);
    auto source = ui::MakeCom<TTextSource>();
    constexpr DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    DWORD effect = allowed;
    const HRESULT hr = DoDragDrop(data.Get(), source.Get(), allowed, &effect);
    // Our references go with `data` and `source`; a target that keeps the data object keeps it
    // alive on its own references.
    return hr == DRAGDROP_S_DROP && (effect & allowed) != 0;
}
