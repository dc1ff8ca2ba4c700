#include "platform/imaging.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace glimro {
namespace {

// IWICBitmapSourceTransform, which some SDK headers lack; the layout is the platform's.
struct IWicSourceTransform : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* rect, UINT width, UINT height,
                                                 WICPixelFormatGUID* format,
                                                 WICBitmapTransformOptions transform, UINT stride,
                                                 UINT buffer_size, BYTE* buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* width, UINT* height) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* format) = 0;
    virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions transform,
                                                           BOOL* supported) = 0;
};
const IID kIidSourceTransform = {
    0x3B16811B, 0x6A43, 0x4ec9, {0xB7, 0x13, 0x3D, 0x5A, 0x0C, 0x13, 0xB9, 0x40}};

UINT Stride(UINT width) {
    return (width * 3 + 3) & ~3u;
}

// The frame's pixels decoded at a reduced scale, held once; false where the decoder cannot,
// would deliver another pixel format, or the reduced size does not fit.
bool DecodeScaled(IWICBitmapFrameDecode* frame, UINT width, UINT height, UINT min_width,
                  UINT min_height, PictureDecoder::DecodeCheck fits, std::vector<BYTE>* pixels,
                  SIZE* size) {
    ComPtr<IWicSourceTransform> transform;
    if (FAILED(frame->QueryInterface(kIidSourceTransform,
                                     reinterpret_cast<void**>(transform.Put()))) ||
        !transform)
        return false;
    IWicSourceTransform* scaler = transform.Get();
    const std::function<bool(UINT*, UINT*)> closest = [scaler](UINT* w, UINT* h) {
        const HRESULT result = scaler->GetClosestSize(w, h);
        return SUCCEEDED(result);
    };
    *size = SmallestDecodeSize(width, height, min_width, min_height, closest);
    if ((static_cast<UINT>(size->cx) == width && static_cast<UINT>(size->cy) == height) ||
        !fits(static_cast<uint64_t>(size->cx), static_cast<uint64_t>(size->cy)))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(transform->GetClosestPixelFormat(&format)) ||
        format != GUID_WICPixelFormat24bppBGR)
        return false;
    const UINT stride = Stride(size->cx);
    pixels->assign(static_cast<size_t>(stride) * size->cy, 0);
    return SUCCEEDED(transform->CopyPixels(nullptr, size->cx, size->cy, &format,
                                           WICBitmapTransformRotate0, stride,
                                           static_cast<UINT>(pixels->size()), pixels->data()));
}

} // namespace

Seam<HRESULT(ComPtr<IWICImagingFactory>*)> CreateImagingFactory(
    [](ComPtr<IWICImagingFactory>* factory) {
        return ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(factory->Put()));
    });

SIZE SmallestDecodeSize(UINT width, UINT height, UINT min_width, UINT min_height,
                        const std::function<bool(UINT*, UINT*)>& closest) {
    for (UINT denominator : {8u, 4u, 2u}) {
        UINT w = (width + denominator - 1) / denominator;
        UINT h = (height + denominator - 1) / denominator;
        if (w < min_width || h < min_height || !closest(&w, &h))
            continue;
        if (w >= min_width && h >= min_height && w <= width && h <= height)
            return SIZE{static_cast<LONG>(w), static_cast<LONG>(h)};
    }
    return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

HRESULT PictureDecoder::Open(const std::wstring& path, UINT min_width, UINT min_height,
                             DecodeCheck fits) {
    rows_.Reset();
    scaled_.clear();
    width_ = height_ = 0;
    ComPtr<IWICImagingFactory> factory;
    HRESULT result = CreateImagingFactory(&factory);
    if (FAILED(result) || !factory)
        return FAILED(result) ? result : E_NOINTERFACE;
    ComPtr<IWICBitmapDecoder> decoder;
    result = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.Put());
    ComPtr<IWICBitmapFrameDecode> frame;
    if (SUCCEEDED(result))
        result = decoder->GetFrame(0, frame.Put());
    UINT width = 0, height = 0;
    if (SUCCEEDED(result))
        result = frame->GetSize(&width, &height);
    if (FAILED(result))
        return result;

    SIZE scaled = {};
    if (DecodeScaled(frame.Get(), width, height, min_width, min_height, fits, &scaled_, &scaled)) {
        scaled_stride_ = Stride(scaled.cx);
        width_ = static_cast<UINT>(scaled.cx);
        height_ = static_cast<UINT>(scaled.cy);
        return S_OK;
    }
    scaled_.clear();
    // Decoded at its own size: the codec may hold all of it, so it must fit.
    if (!fits(width, height))
        return E_OUTOFMEMORY;
    ComPtr<IWICBitmapSource> rows;
    WICPixelFormatGUID format = {};
    if (SUCCEEDED(frame->GetPixelFormat(&format)) &&
               format == GUID_WICPixelFormat24bppBGR) {
        // Already the rows wanted (most JPEGs): no converter copying them once more.
        result = frame->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(rows.Put()));
    } else {
        ComPtr<IWICFormatConverter> converter;
        result = factory->CreateFormatConverter(converter.Put());
        if (SUCCEEDED(result))
            result = converter->Initialize(frame.Get(), GUID_WICPixelFormat24bppBGR,
                                           WICBitmapDitherTypeNone, nullptr, 0.0,
                                           WICBitmapPaletteTypeCustom);
        if (SUCCEEDED(result))
            result = converter->QueryInterface(IID_IWICBitmapSource,
                                               reinterpret_cast<void**>(rows.Put()));
    }
    if (FAILED(result))
        return result;
    rows_ = rows;
    width_ = width;
    height_ = height;
    return S_OK;
}

HRESULT PictureDecoder::CopyRows(UINT first, UINT count, BYTE* rows, UINT stride) const {
    if (first > height_ || count > height_ - first)
        return E_INVALIDARG;
    if (!scaled_.empty()) {
        const size_t row_bytes = std::min<size_t>(stride, scaled_stride_);
        for (UINT row = 0; row < count; ++row)
            std::memcpy(rows + static_cast<size_t>(row) * stride,
                        scaled_.data() + static_cast<size_t>(first + row) * scaled_stride_,
                        row_bytes);
        return S_OK;
    }
    if (!rows_)
        return E_INVALIDARG;
    const WICRect band = {0, static_cast<INT>(first), static_cast<INT>(width_),
                          static_cast<INT>(count)};
    return rows_->CopyPixels(&band, stride, stride * count, rows);
}

} // namespace glimro
