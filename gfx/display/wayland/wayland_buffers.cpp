// Showing rows: the program's picture is kept in this process's memory
// (what surface() hands the presenter); each present copies into a wl_shm
// buffer the compositor does not hold the rows that buffer lacks, attaches
// it and damages only the rows that changed.
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "gfx/display/wayland/wayland_connection.h"

namespace krgfx {

namespace {

constexpr int32_t bytesPerPixel = 4;  // XRGB8888, which every compositor offers
constexpr int32_t initialBuffers = 2;
constexpr int32_t maxBuffers = 3;
constexpr auto releaseWait = std::chrono::milliseconds(50);

void onRelease(void* data, wl_buffer* buffer) {
  static_cast<WaylandWindowSystem*>(data)->bufferReleased(buffer);
}
const wl_buffer_listener bufferListener{onRelease};

// A buffer's memory: an anonymous file the compositor maps too.
int sharedMemoryFile(size_t bytes) {
  int fd = memfd_create("krgfx-buffer", MFD_CLOEXEC);
  if (fd < 0) return -1;
  if (ftruncate(fd, static_cast<off_t>(bytes)) < 0) {
    close(fd);
    return -1;
  }
  return fd;
}

bool createBuffer(wl_shm* shm, int32_t width, int32_t height, int32_t pitch, bool withAlpha,
                  void* listenerData, ShmBuffer& made) {
  size_t bytes = static_cast<size_t>(pitch) * static_cast<size_t>(height);
  int fd = sharedMemoryFile(bytes);
  if (fd < 0) return false;
  void* pixels = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (pixels == MAP_FAILED) {
    close(fd);
    return false;
  }
  wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<int32_t>(bytes));
  made.buffer = wl_shm_pool_create_buffer(
      pool, 0, width, height, pitch, withAlpha ? WL_SHM_FORMAT_ARGB8888 : WL_SHM_FORMAT_XRGB8888);
  wl_shm_pool_destroy(pool);
  close(fd);
  wl_buffer_add_listener(made.buffer, &bufferListener, listenerData);
  made.pixels = static_cast<uint8_t*>(pixels);
  made.busy = false;
  // A new buffer lacks every row.
  made.staleFirst = 0;
  made.staleLast = height - 1;
  return true;
}

void destroyBuffer(ShmBuffer& buffer, size_t bytes) {
  if (buffer.buffer) wl_buffer_destroy(buffer.buffer);
  if (buffer.pixels) munmap(buffer.pixels, bytes);
  buffer = {};
}

}  // namespace

bool WaylandWindowSystem::createBuffers() {
  pitch_ = width_ * bytesPerPixel;
  picturePixels_.assign(static_cast<size_t>(pitch_) * static_cast<size_t>(height_), 0);
  for (bufferCount_ = 0; bufferCount_ < initialBuffers; ++bufferCount_)
    if (!createBuffer(shm_, width_, height_, pitch_, colourKeyed_, this, buffers_[bufferCount_]))
      return false;
  return true;
}

void WaylandWindowSystem::destroyBuffers() {
  size_t bytes = static_cast<size_t>(pitch_) * static_cast<size_t>(height_);
  for (ShmBuffer& buffer : buffers_) destroyBuffer(buffer, bytes);
  bufferCount_ = 0;
  picturePixels_.clear();
}

void WaylandWindowSystem::bufferReleased(wl_buffer* released) {
  for (ShmBuffer& buffer : buffers_)
    if (buffer.buffer == released) buffer.busy = false;
}

// A buffer the compositor does not hold: waits briefly for a release, then
// makes one more, up to three.
ShmBuffer* WaylandWindowSystem::freeBuffer() {
  auto deadline = Clock::now() + releaseWait;
  for (;;) {
    for (int32_t i = 0; i < bufferCount_; ++i)
      if (!buffers_[i].busy) return &buffers_[i];
    if (Clock::now() >= deadline) break;
    if (wl_display_dispatch_pending(display_) < 0 || wl_display_roundtrip(display_) < 0) {
      noteLost();
      return nullptr;
    }
  }
  if (bufferCount_ == maxBuffers ||
      !createBuffer(shm_, width_, height_, pitch_, colourKeyed_, this, buffers_[bufferCount_]))
    return nullptr;
  return &buffers_[bufferCount_++];
}

// The colour a colour-keyed window shows as transparent: magenta above 8
// bits (as a 5-6-5 pixel widens it on 16-bit screens), on palette screens
// the colour of index 0 (as it is now).
uint32_t WaylandWindowSystem::keyColour() const {
  if (windowLayer.depth == 16) return 0xF800F8;
  if (windowLayer.depth > 8) return 0xFF00FF;
  const PaletteEntry& first = windowLayer.paletteEntries[0];
  return static_cast<uint32_t>(first.red) << 16 | static_cast<uint32_t>(first.green) << 8 |
         first.blue;
}

// The picture's rows into a buffer: as they are, or with the alpha a
// colour-keyed window needs (0 for the key colour, opaque for the rest).
void WaylandWindowSystem::copyRows(uint8_t* target, int32_t first, int32_t last) const {
  size_t offset = static_cast<size_t>(first) * static_cast<size_t>(pitch_);
  size_t bytes = static_cast<size_t>(last - first + 1) * static_cast<size_t>(pitch_);
  if (!colourKeyed_) {
    std::memcpy(target + offset, picturePixels_.data() + offset, bytes);
    return;
  }
  uint32_t key = keyColour();
  for (size_t at = offset; at < offset + bytes; at += bytesPerPixel) {
    uint32_t pixel = 0;
    std::memcpy(&pixel, picturePixels_.data() + at, bytesPerPixel);
    pixel &= 0xFFFFFF;
    pixel = pixel == key ? 0 : pixel | 0xFF000000u;
    std::memcpy(target + at, &pixel, bytesPerPixel);
  }
}

bool WaylandWindowSystem::showRows(int32_t first, int32_t last) {
  for (int32_t i = 0; i < bufferCount_; ++i) {
    ShmBuffer& each = buffers_[i];
    each.staleFirst = each.staleLast < each.staleFirst ? first : std::min(each.staleFirst, first);
    each.staleLast = std::max(each.staleLast, last);
  }
  ShmBuffer* buffer = freeBuffer();
  if (!buffer) return false;
  if (buffer->staleLast >= buffer->staleFirst)
    copyRows(buffer->pixels, buffer->staleFirst, buffer->staleLast);
  buffer->staleFirst = 0;
  buffer->staleLast = -1;
  buffer->busy = true;
  wl_surface_attach(surface_, buffer->buffer, 0, 0);
  wl_surface_damage_buffer(surface_, 0, first, width_, last - first + 1);
  wl_surface_commit(surface_);
  if (wl_display_flush(display_) < 0 && errno != EAGAIN) noteLost();
  return !dead_;
}

PixelSurface WaylandWindowSystem::surface() {
  if (!hasWindow()) return {nullptr, 0};
  return {picturePixels_.data(), pitch_, true};
}

bool WaylandWindowSystem::presentRows(int32_t first, int32_t last) {
  if (!hasWindow() || first < 0 || last >= height_ || first > last) return false;
  return showRows(first, last);
}

bool WaylandWindowSystem::presentPixels(const uint8_t* pixels, int32_t pitch, int32_t first,
                                        int32_t last) {
  if (!hasWindow() || !pixels || first < 0 || last >= height_ || first > last ||
      pitch % presentRowAlignment != 0 || pitch < pitch_)
    return false;
  for (int32_t row = first; row <= last; ++row)
    std::memcpy(picturePixels_.data() + static_cast<size_t>(row) * static_cast<size_t>(pitch_),
                pixels + static_cast<ptrdiff_t>(row) * pitch, static_cast<size_t>(pitch_));
  return showRows(first, last);
}

}  // namespace krgfx
