// The painter a primitive draws with. Starting a painter costs more than most primitives, so
// during a paint pass each device context keeps one open on its image; every primitive still
// starts from a fresh painter's state. Images are not owned here: whoever replaces or destroys
// one ends its painter first (EndPainting), and the painters end with the pass.
#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/gdi/dc_impl.h"

namespace platform::gdi {

namespace {

// Which device context keeps a painter on which image, over all threads (an image has at most
// one painter). Never destroyed: images may go after static destructors have run.
struct Kept {
  std::mutex mutex;
  std::unordered_map<const QImage*, const Dc::Impl*> byImage;
};
Kept& KeptPainters() {
  static Kept* kept = new Kept;
  return *kept;
}
// How many painters are kept, so that EndPainting costs nothing when there are none.
std::atomic<int> gKeptCount{0};

// This thread's passes, and the device contexts that keep a painter for them.
thread_local int tPassDepth = 0;
thread_local std::vector<const Dc::Impl*> tKeeping;

}  // namespace

PaintPass::PaintPass() {
  ++tPassDepth;
}

PaintPass::~PaintPass() {
  if (--tPassDepth > 0) return;
  while (!tKeeping.empty()) {
    const Dc::Impl* d = tKeeping.back();
    tKeeping.pop_back();
    d->EndKept();
  }
}

void EndPainting(const QImage* image) {
  if (!image || gKeptCount.load(std::memory_order_acquire) == 0) return;
  const Dc::Impl* owner = nullptr;
  {
    Kept& k = KeptPainters();
    const std::lock_guard lock(k.mutex);
    const auto it = k.byImage.find(image);
    if (it != k.byImage.end()) owner = it->second;
  }
  if (owner) owner->EndKept();
}

void Dc::Impl::EndKept() const {
  if (!kept) return;
  {
    Kept& k = KeptPainters();
    const std::lock_guard lock(k.mutex);
    k.byImage.erase(painted);
  }
  gKeptCount.fetch_sub(1, std::memory_order_release);
  const auto it = std::find(tKeeping.begin(), tKeeping.end(), this);
  if (it != tKeeping.end()) tKeeping.erase(it);
  kept->end();
  kept.reset();
  painted = nullptr;
  keptClip.reset();
  keptFont.reset();
}

QPainter* Dc::Impl::Paint(std::optional<QPainter>& local) const {
  if (!Drawable()) return nullptr;
  if (tPassDepth == 0) {
    local.emplace();
    return Begin(*local) ? &*local : nullptr;
  }
  if (kept && painted == target) {
    QPainter& p = *kept;
    // Back to what a fresh painter starts with: primitives set their pen and brush themselves.
    p.resetTransform();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setBackgroundMode(Qt::TransparentMode);
    p.setBackground(keptBackground);
    // Set with no transform, so that it stays in device pixels. The clip is dropped, not
    // switched off: the raster engine keeps a switched-off clip's data and reuses it, still
    // switched off, for the next region of more than one rectangle, which then clips nothing.
    if (keptClip != clip) {
      p.setClipRegion(clip ? *clip : QRegion(), clip ? Qt::ReplaceClip : Qt::NoClip);
      keptClip = clip;
    }
    return &p;
  }
  EndKept();
  // A QImage takes one painter at a time.
  EndPainting(target);
  auto p = std::make_unique<QPainter>();
  if (!Begin(*p)) return nullptr;
  keptBackground = p->background();
  keptClip = clip;
  {
    Kept& k = KeptPainters();
    const std::lock_guard lock(k.mutex);
    k.byImage[target] = this;
  }
  gKeptCount.fetch_add(1, std::memory_order_release);
  tKeeping.push_back(this);
  kept = std::move(p);
  painted = target;
  return kept.get();
}

}  // namespace platform::gdi
