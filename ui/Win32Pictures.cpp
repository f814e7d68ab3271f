#include "ui/Win32Pictures.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace vorpane::ui::win32 {

namespace {

// Resource names are matched without regard to case; the resource script
// stores them in capitals.
std::string resourceName(const std::string& picture) {
  std::string name = picture;
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::span<const BYTE> embeddedBytes(HINSTANCE instance, const std::string& picture) {
  HRSRC resource = FindResourceA(instance, resourceName(picture).c_str(), MAKEINTRESOURCEA(10));  // RT_RCDATA
  if (resource == nullptr) return {};
  HGLOBAL loaded = LoadResource(instance, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {static_cast<const BYTE*>(data), SizeofResource(instance, resource)};
}

bool startsWith(std::span<const BYTE> bytes, std::initializer_list<BYTE> signature) {
  return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
}

// The decoder for the form's own picture formats, known by their first bytes.
// Asking the factory to find one instead has it try the installed decoders
// on the stream one by one.
ComPtr<IWICBitmapDecoder> knownDecoder(std::span<const BYTE> bytes, IWICStream* stream) {
  const CLSID* decoderClass = nullptr;
  if (startsWith(bytes, {0xFF, 0xD8, 0xFF}))
    decoderClass = &CLSID_WICJpegDecoder;
  else if (startsWith(bytes, {0x00, 0x00, 0x01, 0x00}))
    decoderClass = &CLSID_WICIcoDecoder;
  ComPtr<IWICBitmapDecoder> decoder;
  if (decoderClass == nullptr ||
      FAILED(CoCreateInstance(*decoderClass, nullptr, CLSCTX_INPROC_SERVER, IID_IWICBitmapDecoder,
                              reinterpret_cast<void**>(decoder.put()))) ||
      FAILED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand)))
    return {};
  return decoder;
}

// The picture's first frame as premultiplied 32-bit pixels at the wanted size.
ComPtr<IWICBitmapSource> decodedSource(IWICImagingFactory* factory, std::span<const BYTE> bytes, UINT width,
                                       UINT height) {
  ComPtr<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))))
    return {};
  ComPtr<IWICBitmapDecoder> decoder = knownDecoder(bytes, stream.get());
  if (!decoder && FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                          WICDecodeMetadataCacheOnDemand, decoder.put())))
    return {};
  ComPtr<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.put()))) return {};
  // Converted before scaling: the scaler does not take every source format
  // (4-bit icons), and premultiplied pixels blend correctly when scaled.
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0.0, WICBitmapPaletteTypeCustom)))
    return {};

  UINT sourceWidth = 0, sourceHeight = 0;
  converter->GetSize(&sourceWidth, &sourceHeight);
  ComPtr<IWICBitmapSource> result;
  if (sourceWidth == width && sourceHeight == height) {
    converter->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(result.put()));
    return result;
  }
  ComPtr<IWICBitmapScaler> scaler;
  if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
      FAILED(scaler->Initialize(converter.get(), width, height, WICBitmapInterpolationModeFant)))
    return {};
  scaler->QueryInterface(IID_IWICBitmapSource, reinterpret_cast<void**>(result.put()));
  return result;
}

// Lays premultiplied pixels over an opaque background colour.
void composeOver(std::uint8_t* pixels, std::size_t count, COLORREF background) {
  const unsigned bg[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
  for (std::size_t i = 0; i < count; ++i, pixels += 4) {
    const unsigned alpha = pixels[3];
    if (alpha == 255) continue;
    for (int c = 0; c < 3; ++c)
      pixels[c] = static_cast<std::uint8_t>(pixels[c] + bg[c] * (255 - alpha) / 255);
    pixels[3] = 255;
  }
}

}  // namespace

RenderedPicture PictureDecoder::render(HINSTANCE instance, const std::string& name, int width, int height,
                                       COLORREF background) {
  const std::span<const BYTE> bytes = embeddedBytes(instance, name);
  if (bytes.empty() || width <= 0 || height <= 0) return {};

  if (!factory_ && FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, reinterpret_cast<void**>(factory_.put()))))
    return {};
  const ComPtr<IWICBitmapSource> source =
      decodedSource(factory_.get(), bytes, static_cast<UINT>(width), static_cast<UINT>(height));
  if (!source) return {};

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows, as the decoder delivers them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject<HBITMAP> bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || bits == nullptr) return {};

  const UINT stride = static_cast<UINT>(width) * 4;
  const UINT size = stride * static_cast<UINT>(height);
  if (FAILED(source->CopyPixels(nullptr, stride, size, static_cast<BYTE*>(bits)))) return {};
  GdiFlush();
  composeOver(static_cast<std::uint8_t*>(bits), static_cast<std::size_t>(width) * height, background);
  return {std::move(bitmap), width, height};
}

}  // namespace vorpane::ui::win32
