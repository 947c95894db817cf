// A series' own points in the form layout ("Data") and its per-point mark formats ("Items").
// Both readers take the whole stream apart before they touch anything, so a damaged or cut
// stream raises EReadError and leaves the series as it was.
#include <bit>
#include <functional>
#include <optional>
#include <vector>

#include "chart/engine/engine_registration.h"
#include "chart/engine/series.h"
#include "chart/engine/series_marks.h"
#include "platform/vcl/exception.h"
#include "platform/vcl/filer.h"

namespace chart {

namespace {

using platform::EReadError;
using platform::TLayoutValue;

enum TDataContents : std::uint8_t {
  dcPositions = 1,
  dcColors = 2,
  dcLabels = 4,
  dcMarkPositions = 8,
};
constexpr std::uint8_t kKnownContents = dcPositions | dcColors | dcLabels | dcMarkPositions;
constexpr std::size_t kMarkPositionSize = 34;
// A label's length is one byte.
constexpr std::size_t kMaxLabel = 255;

// ---- Little-endian fields
// ------------------------------------------------------------------------

class ByteWriter {
 public:
  void Byte(std::uint8_t v) { out.push_back(static_cast<char>(v)); }
  void Int32(std::int32_t v) { Little(static_cast<std::uint32_t>(v)); }
  void Double(double v) { Little(std::bit_cast<std::uint64_t>(v)); }
  void Bytes(const std::string& s) { out += s; }
  std::string out;

 private:
  template <class T>
  void Little(T v) {
    for (std::size_t i = 0; i < sizeof(T); ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
  }
};

class ByteReader {
 public:
  explicit ByteReader(std::string_view data) : data_(data) {}
  std::size_t Left() const { return data_.size() - pos_; }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(Take(1)[0]); }
  std::int32_t Int32() { return static_cast<std::int32_t>(Little<std::uint32_t>()); }
  double Double() { return std::bit_cast<double>(Little<std::uint64_t>()); }
  std::string Bytes(std::size_t n) { return std::string(Take(n)); }

 private:
  std::string_view Take(std::size_t n) {
    if (n > Left()) throw EReadError("Series data ends early at byte " + std::to_string(pos_));
    std::string_view s = data_.substr(pos_, n);
    pos_ += n;
    return s;
  }
  template <class T>
  T Little() {
    std::string_view s = Take(sizeof(T));
    T v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
      v |= static_cast<T>(static_cast<unsigned char>(s[i])) << (8 * i);
    return v;
  }
  std::string_view data_;
  std::size_t pos_ = 0;
};

// Cut at a character boundary so that a long UTF-8 label stays valid text.
std::string CutLabel(const std::string& label) {
  if (label.size() <= kMaxLabel) return label;
  std::size_t n = kMaxLabel;
  while (n > 0 && (static_cast<unsigned char>(label[n]) & 0xC0) == 0x80) --n;
  return label.substr(0, n);
}

void WriteMarkPosition(ByteWriter& w, const TSeriesMarkPosition& p) {
  w.Int32(p.ArrowStart.X);
  w.Int32(p.ArrowStart.Y);
  w.Byte(p.ArrowStartFixed ? 1 : 0);
  w.Int32(p.ArrowEnd.X);
  w.Int32(p.ArrowEnd.Y);
  w.Byte(p.Custom ? 1 : 0);
  w.Int32(p.Height);
  w.Int32(p.TopLeft.X);
  w.Int32(p.TopLeft.Y);
  w.Int32(p.Width);
}

// A record of zeros stands for a point without a stored position and reads back as one.
std::unique_ptr<TSeriesMarkPosition> ReadMarkPosition(ByteReader& r) {
  auto p = std::make_unique<TSeriesMarkPosition>();
  p->ArrowStart.X = r.Int32();
  p->ArrowStart.Y = r.Int32();
  p->ArrowStartFixed = r.Byte() != 0;
  p->ArrowEnd.X = r.Int32();
  p->ArrowEnd.Y = r.Int32();
  p->Custom = r.Byte() != 0;
  p->Height = r.Int32();
  p->TopLeft.X = r.Int32();
  p->TopLeft.Y = r.Int32();
  p->Width = r.Int32();
  const bool empty = !p->ArrowStartFixed && !p->Custom && p->ArrowStart.X == 0 &&
                     p->ArrowStart.Y == 0 && p->ArrowEnd.X == 0 && p->ArrowEnd.Y == 0 &&
                     p->Height == 0 && p->TopLeft.X == 0 && p->TopLeft.Y == 0 && p->Width == 0;
  if (empty) p.reset();
  return p;
}

struct PointRecord {
  double position = 0;
  double value = 0;
  TColor color = platform::clDefault;
  std::string label;
  std::vector<double> further;
  std::unique_ptr<TSeriesMarkPosition> mark;
};

}  // namespace

// ---- "Data"
// --------------------------------------------------------------------------------------

std::string TChartSeries::WriteData() {
  BeforeWriteData();
  std::uint8_t flags = static_cast<std::uint8_t>(SeriesGuessContents(this));
  if (!StorePositions) flags &= static_cast<std::uint8_t>(~dcPositions);
  const int n = Count();
  ByteWriter w;
  w.Byte(flags);
  w.Int32(n);
  const TSeriesMarksPositions& positions = marks_->Positions();
  for (int i = 0; i < n; ++i) {
    if (flags & dcPositions) w.Double(positionValues_->GetValue(i));
    w.Double(mainValues_->GetValue(i));
    if (flags & dcColors) {
      const bool own = pointColors_ && i < static_cast<int>(pointColors_->size());
      w.Int32(own ? (*pointColors_)[static_cast<size_t>(i)] : platform::clDefault);
    }
    if (flags & dcLabels) {
      const std::string label = CutLabel(labels_.GetLabel(i));
      w.Byte(static_cast<std::uint8_t>(label.size()));
      w.Bytes(label);
    }
    for (int k = 2; k < valuesList_.Count(); ++k) w.Double(valuesList_.Get(k)->GetValue(i));
    if (flags & dcMarkPositions) {
      const TSeriesMarkPosition* p = positions.Get(i);
      WriteMarkPosition(w, p ? *p : TSeriesMarkPosition{});
    }
  }
  return w.out;
}

void TChartSeries::ReadData(std::string_view data) {
  ByteReader r(data);
  const std::uint8_t flags = r.Byte();
  if (flags & ~kKnownContents)
    throw EReadError("Series data has unknown contents " + std::to_string(flags));
  const std::int32_t count = r.Int32();
  const int further = std::max(0, valuesList_.Count() - 2);
  // Labels may be empty: one length byte is the least a labelled record holds.
  const std::size_t least = 8 + (flags & dcPositions ? 8 : 0) + (flags & dcColors ? 4 : 0) +
                            (flags & dcLabels ? 1 : 0) + 8 * static_cast<std::size_t>(further) +
                            (flags & dcMarkPositions ? kMarkPositionSize : 0);
  if (count < 0 || static_cast<std::size_t>(count) > r.Left() / least)
    throw EReadError("Series data holds an invalid point count " + std::to_string(count));

  std::vector<PointRecord> records(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    PointRecord& rec = records[static_cast<size_t>(i)];
    rec.position = (flags & dcPositions) ? r.Double() : i;
    rec.value = r.Double();
    if (flags & dcColors) rec.color = r.Int32();
    if (flags & dcLabels) rec.label = r.Bytes(r.Byte());
    rec.further.resize(static_cast<size_t>(further));
    for (double& v : rec.further) v = r.Double();
    if (flags & dcMarkPositions) rec.mark = ReadMarkPosition(r);
  }
  if (r.Left() != 0)
    throw EReadError("Series data has " + std::to_string(r.Left()) + " bytes past its points");

  Clear();
  BeginUpdate();
  try {
    for (PointRecord& rec : records) {
      for (int k = 0; k < further; ++k)
        valuesList_.Get(k + 2)->TempValue = rec.further[static_cast<size_t>(k)];
      if (yIsValue_) {
        AddXY(rec.position, rec.value, rec.label, rec.color);
      } else {
        AddXY(rec.value, rec.position, rec.label, rec.color);
      }
      if (flags & dcMarkPositions) marks_->Positions().Add(std::move(rec.mark));
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  HandEntered = true;
}

// ---- "Items"
// -------------------------------------------------------------------------------------

namespace {

const std::vector<std::string> kBrushStyles{"bsSolid",    "bsClear",     "bsHorizontal",
                                            "bsVertical", "bsFDiagonal", "bsBDiagonal",
                                            "bsCross",    "bsDiagCross"};
const std::vector<std::string> kPenStyles{"psSolid",      "psDash",  "psDot",        "psDashDot",
                                          "psDashDotDot", "psClear", "psInsideFrame"};
const std::vector<std::string> kFontStyles{"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};

TLayoutValue Int(std::int64_t v) {
  TLayoutValue out;
  out.ValueKind = TLayoutValue::vkInteger;
  out.Integer = v;
  return out;
}
TLayoutValue Ident(const std::string& v) {
  TLayoutValue out;
  out.ValueKind = TLayoutValue::vkIdent;
  out.Text = v;
  return out;
}
TLayoutValue Bool(bool v) {
  return Ident(v ? "True" : "False");
}
TLayoutValue Name(const std::vector<std::string>& names, int v) {
  return v >= 0 && v < static_cast<int>(names.size()) ? Ident(names[static_cast<size_t>(v)])
                                                      : Int(v);
}
TLayoutValue Str(const std::string& v) {
  TLayoutValue out;
  out.ValueKind = TLayoutValue::vkString;
  out.Text = v;
  return out;
}

bool Same(const TLayoutValue& a, const TLayoutValue& b) {
  if (a.ValueKind != b.ValueKind || a.Integer != b.Integer || a.Text != b.Text || a.Set != b.Set ||
      a.List.size() != b.List.size())
    return false;
  for (size_t i = 0; i < a.List.size(); ++i)
    if (!Same(a.List[i], b.List[i])) return false;
  return true;
}

// What an item's published property reads as; nothing when its sub-object does not exist.
using ItemGetter = std::function<std::optional<TLayoutValue>(const TMarksItem&)>;
struct ItemProperty {
  const char* name;
  ItemGetter get;
};

const std::vector<ItemProperty>& ItemProperties() {
  static const std::vector<ItemProperty> properties{
      {"Visible", [](const TMarksItem& m) { return Bool(m.GetVisible()); }},
      {"Color", [](const TMarksItem& m) { return Int(m.GetColor()); }},
      {"Transparent", [](const TMarksItem& m) { return Bool(m.GetTransparent()); }},
      {"Transparency", [](const TMarksItem& m) { return Int(m.GetTransparency()); }},
      {"Bevel", [](const TMarksItem& m) { return Name(layout::kBevelCut, m.GetBevel()); }},
      {"BevelWidth", [](const TMarksItem& m) { return Int(m.GetBevelWidth()); }},
      {"ShapeStyle",
       [](const TMarksItem& m) { return Name(layout::kShapeStyle, m.GetShapeStyle()); }},
      {"TextFormat",
       [](const TMarksItem& m) { return Name(layout::kTextFormat, m.GetTextFormat()); }},
      {"Brush.Color", [](const TMarksItem& m) { return Int(m.GetBrush()->GetColor()); }},
      {"Brush.Style",
       [](const TMarksItem& m) { return Name(kBrushStyles, m.GetBrush()->GetStyle()); }},
      {"Frame.Color", [](const TMarksItem& m) { return Int(m.GetFrame()->GetColor()); }},
      {"Frame.Width", [](const TMarksItem& m) { return Int(m.GetFrame()->GetWidth()); }},
      {"Frame.Style",
       [](const TMarksItem& m) { return Name(kPenStyles, m.GetFrame()->GetStyle()); }},
      {"Frame.Visible", [](const TMarksItem& m) { return Bool(m.GetFrame()->GetVisible()); }},
      {"Font.Name", [](const TMarksItem& m) { return Str(m.GetFont()->GetName()); }},
      {"Font.Height", [](const TMarksItem& m) { return Int(m.GetFont()->GetHeight()); }},
      {"Font.Color", [](const TMarksItem& m) { return Int(m.GetFont()->GetColor()); }},
      {"Font.Style",
       [](const TMarksItem& m) {
         TLayoutValue v;
         v.ValueKind = TLayoutValue::vkSet;
         for (size_t i = 0; i < kFontStyles.size(); ++i)
           if (m.GetFont()->GetStyle().Contains(static_cast<platform::TFontStyle>(i)))
             v.Set.push_back(kFontStyles[i]);
         return v;
       }},
      {"Shadow.Color",
       [](const TMarksItem& m) -> std::optional<TLayoutValue> {
         if (!m.GetShadow()) return std::nullopt;
         return Int(m.GetShadow()->GetColor());
       }},
      {"Shadow.HorizSize",
       [](const TMarksItem& m) -> std::optional<TLayoutValue> {
         if (!m.GetShadow()) return std::nullopt;
         return Int(m.GetShadow()->GetHorizSize());
       }},
      {"Shadow.VertSize",
       [](const TMarksItem& m) -> std::optional<TLayoutValue> {
         if (!m.GetShadow()) return std::nullopt;
         return Int(m.GetShadow()->GetVertSize());
       }},
      {"Text.Strings",
       [](const TMarksItem& m) -> std::optional<TLayoutValue> {
         const platform::TStrings* text = m.TextIfAny();
         if (!text || text->Count() == 0) return std::nullopt;
         TLayoutValue v;
         v.ValueKind = TLayoutValue::vkList;
         for (int i = 0; i < text->Count(); ++i) v.List.push_back(Str(text->Get(i)));
         return v;
       }},
  };
  return properties;
}

}  // namespace

bool TMarksItems::IsStored() const {
  for (const auto& item : items_)
    if (item) return true;
  return false;
}

std::string TMarksItems::WriteItems() const {
  int count = Count();
  while (count > 0 && !items_[static_cast<size_t>(count) - 1]) --count;
  const TMarksItem defaults(marks_ ? marks_->ParentChart() : nullptr);
  platform::TWriter w;
  w.WriteRawInteger(count);
  for (int i = 0; i < count; ++i) {
    const TMarksItem* item = items_[static_cast<size_t>(i)].get();
    // An empty slot stays empty: the point keeps the marks' common format.
    if (!item) {
      w.WriteNil();
      continue;
    }
    w.WriteListBegin();
    for (const ItemProperty& p : ItemProperties()) {
      const std::optional<TLayoutValue> v = p.get(*item);
      if (!v) continue;
      const std::optional<TLayoutValue> d = p.get(defaults);
      if (!d || !Same(*v, *d)) w.WriteProperty(p.name, *v);
    }
    w.WriteListEnd();
  }
  return w.Data();
}

void TMarksItems::ReadItems(std::string_view data) {
  RegisterEngineLayoutClasses();
  const platform::TClassInfo* info = platform::FindClass("TMarksItem");
  if (!info) throw EReadError("class TMarksItem not found");
  platform::TReader r(data);
  const std::int32_t count = r.ReadRawInteger();
  // Each item takes at least one byte (nil, or an empty list's two).
  if (count < 0 || static_cast<std::size_t>(count) > data.size() - 4)
    throw EReadError("Marks items hold an invalid count " + std::to_string(count));

  std::vector<std::unique_ptr<TMarksItem>> read(static_cast<size_t>(count));
  platform::TComponent root(nullptr);
  platform::TLayoutBindings none;
  platform::TLayoutContext ctx(root, none);
  for (auto& slot : read) {
    if (r.NextIsNil()) continue;
    r.ReadListBegin();
    std::vector<platform::TLayoutProperty> properties;
    while (!r.EndOfList()) properties.push_back(r.ReadProperty());
    r.ReadListEnd();
    slot = std::make_unique<TMarksItem>(marks_ ? marks_->ParentChart() : nullptr);
    ctx.Apply(*slot, *info, properties);
  }
  if (!r.AtEnd()) throw EReadError("Marks items have bytes past their last item");
  items_ = std::move(read);
  if (count > 0) Loaded = true;
  if (marks_) marks_->Repaint();
}

}  // namespace chart
