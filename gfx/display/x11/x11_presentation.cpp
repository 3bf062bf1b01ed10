// Showing rows in the window: from a MIT-SHM image that the presenter
// converts into ("DirectX"), or with XPutImage from the caller's memory
// ("GDI"). Both are in the visual's own pixel format.
#include <sys/ipc.h>
#include <sys/shm.h>

#include <atomic>
#include <thread>

#include "gfx/display/x11/x11_connection.h"

namespace krgfx {

bool X11WindowSystem::createSharedImage(int32_t width, int32_t height) {
  sharedImage_ = XShmCreateImage(display_, visual_, static_cast<unsigned>(visualDepth_), ZPixmap,
                                 nullptr, &shm_, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height));
  if (!sharedImage_) return false;
  size_t bytes = static_cast<size_t>(sharedImage_->bytes_per_line) * static_cast<size_t>(height);
  shm_.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
  if (shm_.shmid < 0) {
    freeSharedImage();
    return false;
  }
  shm_.shmaddr = sharedImage_->data = static_cast<char*>(shmat(shm_.shmid, nullptr, 0));
  if (shm_.shmaddr == reinterpret_cast<char*>(-1)) {
    shm_.shmaddr = sharedImage_->data = nullptr;
    freeSharedImage();
    return false;
  }
  shm_.readOnly = False;
  // A server that cannot reach the segment (remote, or in an IPC namespace of
  // its own) still lists MIT-SHM; its refusal of the attach comes back as an
  // error only once the requests are through.
  XSync(display_, False);
  bool attached = XShmAttach(display_, &shm_) && !syncFailed(display_);
  // Once both sides are attached the segment goes away with its last user.
  shmctl(shm_.shmid, IPC_RMID, nullptr);
  if (!attached || dead_) {
    shm_.shmaddr = nullptr;  // nothing to detach on the server's side
    if (sharedImage_->data) shmdt(sharedImage_->data);
    freeSharedImage();
    return false;
  }
  return true;
}

void X11WindowSystem::freeSharedImage() {
  if (!sharedImage_) return;
  if (shm_.shmaddr) {
    if (!dead_) {
      XShmDetach(display_, &shm_);
      XSync(display_, False);
    }
    shmdt(shm_.shmaddr);
  }
  sharedImage_->data = nullptr;
  XDestroyImage(sharedImage_);
  sharedImage_ = nullptr;
  shm_ = {};
}

PixelSurface X11WindowSystem::surface() {
  if (!hasWindow() || !sharedImage_) return {nullptr, 0};
  return {reinterpret_cast<uint8_t*>(sharedImage_->data), sharedImage_->bytes_per_line, true};
}

bool X11WindowSystem::presentRows(int32_t first, int32_t last) {
  if (!hasWindow() || !sharedImage_ || first < 0 || last >= height_ || first > last) return false;
  XShmPutImage(display_, window_, gc_, sharedImage_, 0, first, 0, first,
               static_cast<unsigned>(width_), static_cast<unsigned>(last - first + 1), False);
  // The server has read the rows before the presenter writes the image again.
  XSync(display_, False);
  return !dead_;
}

// The rows go out as an X image padded to 32 bits, in place: XCreateImage
// refuses a pitch that does not fit that padding.
bool X11WindowSystem::presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first,
                                    int32_t last) {
  if (!hasWindow() || !pixels || first < 0 || last >= height_ || first > last ||
      pitch % presentRowAlignment != 0)
    return false;
  int bitsPerPixel = format_.depth == 15 ? 16 : format_.depth;
  XImage* image = XCreateImage(display_, visual_, static_cast<unsigned>(visualDepth_), ZPixmap, 0,
                               const_cast<char*>(reinterpret_cast<const char*>(pixels) +
                                                 static_cast<ptrdiff_t>(first) * pitch),
                               static_cast<unsigned>(width_),
                               static_cast<unsigned>(last - first + 1), 32, pitch);
  if (!image) return false;
  bool shown = image->bits_per_pixel == bitsPerPixel;
  if (shown)
    XPutImage(display_, window_, gc_, image, 0, 0, 0, first, static_cast<unsigned>(width_),
              static_cast<unsigned>(last - first + 1));
  image->data = nullptr;  // the pixels are the caller's
  XDestroyImage(image);
  XFlush(display_);
  return shown && !dead_;
}

int32_t X11WindowSystem::refreshRate() { return refreshRate_; }

// An X server reports no vertical blank: wait for the next frame boundary of
// the refresh rate (60 Hz when unknown), at most timeoutMs. The connection is
// not used, so this may run without the driver lock.
void X11WindowSystem::waitForRetrace(int32_t timeoutMs) {
  sleepUntilNextFrame(retraceEpoch_, refreshRate_, timeoutMs);
}

}  // namespace krgfx
