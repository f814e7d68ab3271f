// The COM identifiers the programs name, defined once here under the names the
// system headers declare. The system's GUID library would bring thousands of
// them (43 KB) for these few. The interfaces' identifiers are taken from the
// headers' own declarations; the classes and the pixel format have none there.
// Code that names another identifier adds it here (its program does not link
// until then); platform_check asks the system for each.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <wincodec.h>

const IID IID_IShellLinkA = __uuidof(IShellLinkA);
const IID IID_IPersistFile = __uuidof(IPersistFile);
const IID IID_IWICImagingFactory = __uuidof(IWICImagingFactory);
const IID IID_IWICBitmapDecoder = __uuidof(IWICBitmapDecoder);
const IID IID_IWICBitmapSource = __uuidof(IWICBitmapSource);

// {00021401-0000-0000-C000-000000000046}
const CLSID CLSID_ShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {CACAF262-9370-4615-A13B-9F5539DA4C0A}
const CLSID CLSID_WICImagingFactory = {
    0xCACAF262, 0x9370, 0x4615, {0xA1, 0x3B, 0x9F, 0x55, 0x39, 0xDA, 0x4C, 0x0A}};
// {9456A480-E88B-43EA-9E73-0B2D9B71B1CA}
const CLSID CLSID_WICJpegDecoder = {
    0x9456A480, 0xE88B, 0x43EA, {0x9E, 0x73, 0x0B, 0x2D, 0x9B, 0x71, 0xB1, 0xCA}};
// {C61BFCDF-2E0F-4AAD-A8D7-E06BAFEBCDFE}
const CLSID CLSID_WICIcoDecoder = {
    0xC61BFCDF, 0x2E0F, 0x4AAD, {0xA8, 0xD7, 0xE0, 0x6B, 0xAF, 0xEB, 0xCD, 0xFE}};
// {6FDDC324-4E03-4BFE-B185-3D77768DC910}
const GUID GUID_WICPixelFormat32bppPBGRA = {
    0x6FDDC324, 0x4E03, 0x4BFE, {0xB1, 0x85, 0x3D, 0x77, 0x76, 0x8D, 0xC9, 0x10}};
