// Pictures of the page: decoded from the program's resources with OLE and scaled with HALFTONE.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include "player/media.h"

#include "player/geometry.h"

HBITMAP loadResourcePicture(HMODULE module, int resourceId, const char* type, int boxWidth, int boxHeight) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), type);
    if (found == nullptr) return nullptr;
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr) return nullptr;
    DWORD size = SizeofResource(module, found);
    const void* bytes = LockResource(loaded);
    HBITMAP decoded = bytes != nullptr && size > 0 ? decodePicture(bytes, size) : nullptr;
    FreeResource(loaded);
    if (decoded == nullptr) return nullptr;
    HBITMAP scaled = scaleBitmapToBox(decoded, boxWidth, boxHeight);
    // The unscaled copy is ours alone once the scaled one exists.
    DeleteObject(decoded);
    return scaled;
}

HBITMAP decodePicture(const void* bytes, DWORD length) {
    if (bytes == nullptr || length == 0) return nullptr;
    HRESULT com = CoInitialize(nullptr);
    HBITMAP copy = nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, length);
    if (block != nullptr) {
        CopyMemory(reinterpret_cast<void*>(block), bytes, length);
        IStream* stream = nullptr;
        // The stream owns the block from here on and frees it when released.
        if (CreateStreamOnHGlobal(block, TRUE, &stream) == S_OK && stream != nullptr) {
            IPicture* picture = nullptr;
            if (OleLoadPicture(stream, static_cast<LONG>(length), FALSE, IID_IPicture,
                               reinterpret_cast<void**>(&picture)) == S_OK &&
                picture != nullptr) {
                OLE_HANDLE handle = 0;
                short pictureType = PICTYPE_NONE;
                // Only bitmaps can be copied and scaled; a metafile or icon is not a picture here.
                if (picture->get_Type(&pictureType) == S_OK && pictureType == PICTYPE_BITMAP &&
                    picture->get_Handle(&handle) == S_OK && handle != 0) {
                    // OLE_HANDLE is 32 bits wide in both builds; a GDI handle widens by sign extension.
                    copy = static_cast<HBITMAP>(
                        CopyImage(LongToHandle(static_cast<LONG>(handle)), IMAGE_BITMAP, 0, 0, 0));
                }
                picture->Release();
            }
            stream->Release();
        } else {
            GlobalFree(block);
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return copy;
}

HBITMAP scaleBitmapToBox(HBITMAP bitmap, int boxWidth, int boxHeight) {
    BITMAP info;
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0)
        return nullptr;
    int width = 0, height = 0;
    fittedPictureSize(info.bmWidth, info.bmHeight, boxWidth, boxHeight, &width, &height);

    HDC screen = GetDC(nullptr);
    HDC source = CreateCompatibleDC(screen);
    HDC target = CreateCompatibleDC(screen);
    HGDIOBJ oldSource = SelectObject(source, bitmap);
    HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldTarget = SelectObject(target, scaled);
    SetStretchBltMode(target, HALFTONE);
    StretchBlt(target, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SelectObject(target, oldTarget);
    SelectObject(source, oldSource);
    DeleteDC(target);
    DeleteDC(source);
    ReleaseDC(nullptr, screen);
    return scaled;
}
