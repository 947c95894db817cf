// The painter a primitive draws with. Starting a painter costs more than most primitives, so
// each device context keeps one open on its image from primitive to primitive. Images are not
// owned here: whoever replaces or destroys one ends its painter first (EndPainting), and the
// painters of a thread end with its outermost paint pass.
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

// This thread's passes, and the device contexts that keep a painter on it.
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

namespace {

// The device context that keeps a painter on image, if any.
const Dc::Impl* PainterOwner(const QImage* image) {
  if (!image || gKeptCount.load(std::memory_order_acquire) == 0) return nullptr;
  Kept& k = KeptPainters();
  const std::lock_guard lock(k.mutex);
  const auto it = k.byImage.find(image);
  return it != k.byImage.end() ? it->second : nullptr;
}

// Rows of a line's pixels, filled in its pen's colour; the painter keeps its pen and brush.
void FillInk(QPainter& p, const QBrush& ink, const QRect* rows, int count) {
  const QPen pen = p.pen();
  const QBrush brush = p.brush();
  p.setPen(kNoPen);
  p.setBrush(ink);
  p.drawRects(rows, count);
  p.setPen(pen);
  p.setBrush(brush);
}

}  // namespace

void EndPainting(const QImage* image) {
  if (const Dc::Impl* owner = PainterOwner(image)) owner->EndKept();
}

void DrawQueued(const QImage* image) {
  if (const Dc::Impl* owner = PainterOwner(image)) owner->DrawQueued();
}

bool InPaintPass() {
  return tPassDepth > 0;
}

// Qt gives each line of a run the pixels it gives the line alone only when no line reaches the
// edge of the clip (where it cuts a line along the line's own direction) and every line runs in
// Qt's own order, left to right or top to bottom (a line that turns back on the one before gets
// an extra end pixel). Turning a line round leaves its pixels as they are.
bool Dc::Impl::Queue(const CosmeticSegment& segment, bool start) const {
  if (start) {
    if (!kept || painted != target || !InPaintPass()) return false;
    DrawQueued();
    queuedBox = target->rect();
    if (clip) queuedBox &= clip->boundingRect();
    queuedStamp = penStamp;
    queuedInk = PenInk();
  } else if (!Queued() || queuedStamp != penStamp || !kept || painted != target ||
             keptClip != clip) {
    return false;
  }
  if (segment.straight) {
    queuedRuns.push_back(segment.run);
    if (queuedRuns.size() >= kQueuedLines) DrawQueued();
    return true;
  }
  const QLineF& line = segment.line;
  const auto inside = [&](const QPointF& p) {
    return p.x() >= queuedBox.left() && p.x() <= queuedBox.right() && p.y() >= queuedBox.top() &&
           p.y() <= queuedBox.bottom();
  };
  if (!inside(line.p1()) || !inside(line.p2())) return false;
  const double dx = line.dx(), dy = line.dy();
  const bool backwards = std::abs(dx) >= std::abs(dy) ? dx < 0 : dy < 0;
  queued.push_back(backwards ? QLineF(line.p2(), line.p1()) : line);
  if (queued.size() >= kQueuedLines) DrawQueued();
  return true;
}

void Dc::Impl::DrawQueued() const {
  if (!Queued()) return;
  if (kept && painted == target) {
    QPainter& p = *kept;
    if (!queued.empty()) p.drawLines(queued.data(), static_cast<int>(queued.size()));
    if (!queuedRuns.empty())
      FillInk(p, queuedInk, queuedRuns.data(), static_cast<int>(queuedRuns.size()));
  }
  queued.clear();
  queuedRuns.clear();
}

void Dc::Impl::DrawAlone(QPainter& p, const CosmeticSegment& segment) const {
  if (segment.straight)
    FillInk(p, PenInk(), &segment.run, 1);
  else
    p.drawLine(segment.line);
}

void Dc::Impl::EndKept() const {
  if (!kept) return;
  DrawQueued();
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

Dc::Impl::Painting Dc::Impl::Paint() const {
  return Painting(*this, Painter());
}

QPainter* Dc::Impl::Painter() const {
  if (!Drawable()) return nullptr;
  if (kept && painted == target) {
    DrawQueued();
    QPainter& p = *kept;
    // Primitives set their own pen, brush and font; the rest goes back to a fresh painter's.
    if (!p.transform().isIdentity()) p.resetTransform();
    SetComposition(p, QPainter::CompositionMode_SourceOver);
    SetBackground(p, false, 0);
    // Set with no transform, so that it stays in device pixels.
    if (keptClip != clip) {
      if (clip) {
        // A clip set after clipping was switched off stays off until it is switched on again.
        p.setClipping(true);
        p.setClipRegion(*clip);
      } else {
        p.setClipping(false);
      }
      keptClip = clip;
    }
    return &p;
  }
  EndKept();
  // A QImage takes one painter at a time.
  EndPainting(target);
  auto p = std::make_unique<QPainter>();
  if (!Begin(*p)) return nullptr;
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
