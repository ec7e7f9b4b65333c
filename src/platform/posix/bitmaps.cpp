// The native module's bitmaps, found by id as the simulator finds a BITMAP resource of the .gau.
#include "module/dev_api.h"
#include "platform/posix/embedded_bitmaps.h"

#include <algorithm>

K7_DEV_EXPORT bool k7_dev_bitmap(int id, const unsigned char** data, std::size_t* size) {
  if (data == nullptr || size == nullptr) return false;
  const EmbeddedBitmap* end = k7_embedded_bitmaps + k7_embedded_bitmap_count;
  const EmbeddedBitmap* it = std::lower_bound(
      k7_embedded_bitmaps, end, id, [](const EmbeddedBitmap& b, int key) { return b.id < key; });
  if (it == end || it->id != id) return false;
  *data = it->data;
  *size = it->size;
  return true;
}
