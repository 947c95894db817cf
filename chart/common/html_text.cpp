#include "chart/common/html_text.h"

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "chart/common/html_markup.h"
#include "platform/vcl/graphics.h"
#include "platform/vcl/jpeg_image.h"
#include "platform/vcl/picture.h"

namespace chart {

TGraphicFileExtension GraphicFileExtension;
TGraphicDownload GraphicDownload;

namespace {

using namespace html;
using platform::TFontStyle;

// An image side is kept to this many pixels whatever the mark-up asks.
constexpr int kMaxImageSide = 4096;
constexpr int kPlaceholderSide = 40;
constexpr int kRuleLength = 100;
constexpr TColor kRuleColor = 0x808080;

// The whole font, kept by value: restoring it needs no re-reading of mark-up.
struct FontState {
  std::string Name;
  int Height = 0;
  TColor Color = 0;
  platform::TFontStyles Style;
  int Charset = 1;

  static FontState Of(const platform::TFont& f) {
    return {f.GetName(), f.GetHeight(), f.GetColor(), f.GetStyle(), f.GetCharset()};
  }
  void ApplyTo(platform::TFont& f) const {
    if (f.GetName() != Name) f.SetName(Name);
    if (f.GetHeight() != Height) f.SetHeight(Height);
    if (f.GetColor() != Color) f.SetColor(Color);
    if (!(f.GetStyle() == Style)) f.SetStyle(Style);
    f.SetCharset(Charset);
  }
  friend bool operator==(const FontState& a, const FontState& b) {
    return a.Name == b.Name && a.Height == b.Height && a.Color == b.Color && a.Style == b.Style &&
           a.Charset == b.Charset;
  }
};

enum class RunKind { Text, Graphic, Placeholder, Rule };

// One piece of a line, placed once its line is complete.
struct Piece {
  RunKind Kind = RunKind::Text;
  std::string Text;
  FontState Font;
  std::shared_ptr<platform::TGraphic> Graphic;
  int Width = 0;
  int Height = 0;
  int Shift = 0;       // sub- and superscript offset from the line's bottom
  long long Drop = 0;  // how far images before it on its line moved it down
  bool Centred = false;
  int X = 0;
  int Y = 0;
};

struct Pushed {
  FontState Font;
  int Shift = 0;
};

struct StyleTag {
  std::string_view Open[3];
  std::string_view Close[3];
  TFontStyle Style;
};
constexpr StyleTag kStyleTags[] = {
    {{"<B>", "<BOLD>", "<STRONG>"}, {"</B>", "</BOLD>", "</STRONG>"}, platform::fsBold},
    {{"<I>"}, {"</I>"}, platform::fsItalic},
    {{"<U>"}, {"</U>"}, platform::fsUnderline},
    {{"<STRIKE>"}, {"</STRIKE>"}, platform::fsStrikeOut},
};

bool OneOf(std::string_view tag, const std::string_view (&names)[3]) {
  for (std::string_view n : names)
    if (!n.empty() && n == tag) return true;
  return false;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool LoadInto(platform::TGraphic& graphic, const std::string& bytes) {
  if (auto* bitmap = dynamic_cast<platform::TBitmap*>(&graphic)) {
    bitmap->LoadFromData(bytes);
    return true;
  }
  if (auto* jpeg = dynamic_cast<platform::TJPEGImage*>(&graphic)) {
    jpeg->LoadFromData(bytes);
    return true;
  }
  return false;
}

// The image at source through the program's hooks; null when it cannot be had.
std::shared_ptr<platform::TGraphic> LoadImage(const std::string& source) {
  if (!GraphicFileExtension || !GraphicDownload) return nullptr;
  const size_t dot = source.find_last_of('.');
  const std::string extension =
      dot == std::string::npos ? std::string() : Upper(source.substr(dot + 1));
  try {
    std::shared_ptr<platform::TGraphic> graphic = GraphicFileExtension(extension);
    if (!graphic) return nullptr;
    std::string bytes;
    if (GraphicDownload(source, bytes) != 0 || bytes.empty()) return nullptr;
    if (!LoadInto(*graphic, bytes) || graphic->Empty()) return nullptr;
    return graphic;
  } catch (...) {
    // Whatever the hooks or the decoder raise, the image becomes a placeholder.
    return nullptr;
  }
}

int Clamp(long long v) {
  return static_cast<int>(std::clamp<long long>(v, INT_MIN / 2, INT_MAX / 2));
}

class Layout {
 public:
  Layout(TPlotCanvas& canvas, int x, int y)
      : canvas_(canvas), font_(*canvas.Font), startX_(x), startY_(y), top_(y), right_(x) {}

  void Run(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size()) {
      std::string_view token;
      if (text[pos] == '<') {
        const size_t close = text.find('>', pos);
        if (close == std::string::npos)
          throw HtmlParserException("Missing > at " + text.substr(pos + 1));
        token = std::string_view(text).substr(pos, close - pos + 1);
        pos = close + 1;
      } else {
        const size_t open = std::min(text.find('<', pos), text.size());
        token = std::string_view(text).substr(pos, open - pos);
        pos = open;
      }
      pushedNow_ = false;
      Handle(token);
      pushedBefore_ = pushedNow_;
    }
    Flush(false);
  }

  THtmlSize Extent() const {
    return {Clamp(std::max<long long>(0, right_ - startX_)), Clamp(top_ - startY_)};
  }
  const std::vector<Piece>& Placed() const { return placed_; }

 private:
  void Handle(std::string_view token) {
    if (token.empty() || token.front() != '<') return Text(token);
    const std::string tag = Upper(token);
    if (tag == "<BR>" || tag == "<P>") return Flush(true);
    if (tag == "<BIG>" || tag == "<SMALL>") {
      Push();
      return SetFontSize(font_, font_.GetSize() + (tag == "<BIG>" ? 2 : -2));
    }
    if (tag == "<SUB>") {
      Push();
      SetFontSize(font_, font_.GetSize() / 2);
      shift_ += canvas_.GetFontHeight() / 2;
      return;
    }
    if (tag == "<SUPER>") {
      const int before = canvas_.GetFontHeight();
      Push();
      SetFontSize(font_, font_.GetSize() / 2);
      shift_ -= before - canvas_.GetFontHeight();
      return;
    }
    if (tag.size() == 4 && StartsWith(tag, "<H") && tag[2] >= '1' && tag[2] <= '6' &&
        tag[3] == '>') {
      static constexpr int kHeadings[] = {48, 36, 24, 18, 12, 8};
      Push();
      return SetFontSize(font_, kHeadings[tag[2] - '1']);
    }
    if (tag == "<PRE>") {
      Push();
      return font_.SetName("Courier New");
    }
    // Closing any tag that pushed the font restores it, with the sub- or superscript offset.
    if (tag == "</SUB>" || tag == "</SUPER>" || tag == "</PRE>" || tag == "</BIG>" ||
        tag == "</SMALL>" || StartsWith(tag, "</FONT") ||
        (tag.size() == 5 && StartsWith(tag, "</H") && tag[3] >= '1' && tag[3] <= '6' &&
         tag[4] == '>'))
      return Pop();
    if (tag == "<CENTER>" || tag == "</CENTER>") {
      centring_ = tag == "<CENTER>";
      return;
    }
    for (const StyleTag& s : kStyleTags) {
      if (OneOf(tag, s.Open)) {
        font_.SetStyle(font_.GetStyle() << s.Style);
        styles_.push_back(tag);
        return;
      }
      if (OneOf(tag, s.Close)) {
        font_.SetStyle(font_.GetStyle() >> s.Style);
        const auto it = std::find_if(styles_.rbegin(), styles_.rend(),
                                     [&](const std::string& t) { return OneOf(t, s.Open); });
        if (it != styles_.rend()) styles_.erase(std::next(it).base());
        return;
      }
    }
    if (StartsWith(tag, "<IMG ")) return Image(token);
    if (StartsWith(tag, "<FONT ")) {
      Push();
      return ApplyFontTag(token, font_);
    }
    if (tag == "</>") {
      if (pushedBefore_) return Pop();
      // Closes the last style opened; nothing to close, nothing happens.
      if (!styles_.empty()) Handle("</" + styles_.back().substr(1));
      return;
    }
    if (tag == "<HR>") return Rule();
    Text(token);
  }

  void Push() {
    fonts_.push_back({FontState::Of(font_), shift_});
    pushedNow_ = true;
  }
  void Pop() {
    if (fonts_.empty()) return;
    fonts_.back().Font.ApplyTo(font_);
    shift_ = fonts_.back().Shift;
    fonts_.pop_back();
  }

  // Every CR LF in a text breaks the line.
  void Text(std::string_view token) {
    for (size_t at = 0;;) {
      const size_t crlf = token.find("\r\n", at);
      AddText(DecodeEntities(token.substr(at, crlf == std::string_view::npos ? crlf : crlf - at)));
      if (crlf == std::string_view::npos) break;
      Flush(true);
      at = crlf + 2;
    }
  }
  void AddText(std::string text) {
    if (text.empty()) return;
    // Text that goes on in the same font and place is one run, measured whole.
    if (!line_.empty()) {
      Piece& last = line_.back();
      if (last.Kind == RunKind::Text && last.Shift == shift_ && last.Centred == centring_ &&
          last.Drop == drop_ && last.Font == FontState::Of(font_)) {
        last.Text += text;
        last.Width = canvas_.TextWidth(last.Text);
        last.Height = canvas_.TextHeight(last.Text);
        return;
      }
    }
    Piece r;
    r.Width = canvas_.TextWidth(text);
    r.Height = canvas_.TextHeight(text);
    r.Text = std::move(text);
    r.Font = FontState::Of(font_);
    Add(std::move(r));
  }
  void Add(Piece r) {
    r.Shift = shift_;
    r.Drop = drop_;
    r.Centred = centring_;
    line_.push_back(std::move(r));
  }

  void Image(std::string_view token) {
    std::string_view inner = token.substr(5, token.size() - 6);
    if (StartsWith(inner, "\r\n")) inner.remove_prefix(2);
    int width = 0, height = 0;
    std::string source;
    for (const Attribute& a : ReadAttributes(inner)) {
      long long n = 0;
      if (a.Name == "WIDTH" && ReadInt(Unquote(a.Value), n) && n > 0)
        width = static_cast<int>(std::min<long long>(n, kMaxImageSide));
      else if (a.Name == "HEIGHT" && ReadInt(Unquote(a.Value), n) && n > 0)
        height = static_cast<int>(std::min<long long>(n, kMaxImageSide));
      else if (a.Name == "SRC") {
        std::string_view s = a.Value;
        if (StartsWith(s, "\"")) s.remove_prefix(1);
        if (!s.empty() && s.back() == '"') s.remove_suffix(1);
        source = std::string(s);
      }
    }
    if (source.empty()) return;
    Piece r;
    r.Graphic = LoadImage(source);
    if (r.Graphic) {
      r.Kind = RunKind::Graphic;
      if (width == 0) width = std::min(r.Graphic->GetWidth(), kMaxImageSide);
      if (height == 0) height = std::min(r.Graphic->GetHeight(), kMaxImageSide);
    } else {
      r.Kind = RunKind::Placeholder;
      if (width == 0) width = kPlaceholderSide;
      if (height == 0) height = kPlaceholderSide;
    }
    r.Width = width;
    r.Height = height;
    // A loaded image moves what follows right by its width and down by its height; a
    // placeholder moves nothing.
    const bool moves = r.Kind == RunKind::Graphic;
    Add(std::move(r));
    if (moves) drop_ += height;
  }

  void Rule() {
    Flush(false);
    Piece r;
    r.Kind = RunKind::Rule;
    r.X = startX_;
    r.Y = Clamp(top_);
    r.Width = kRuleLength;
    right_ = std::max<long long>(right_, startX_ + kRuleLength);
    placed_.push_back(std::move(r));
    top_ += canvas_.GetFontHeight();
  }

  // Ends the line: its texts stand on a common bottom (sub- and superscripts off it by their
  // offset), images hang from its top, each piece lower by the images before it, centred pieces
  // are centred together, and the next line starts below the lowest. A break on a line without
  // text advances by the font height.
  void Flush(bool isBreak) {
    if (line_.empty()) {
      if (isBreak) top_ += canvas_.GetFontHeight();
      return;
    }
    int height = 0;
    bool text = false;
    for (const auto& r : line_) {
      if (r.Kind != RunKind::Text) continue;
      height = std::max(height, r.Height);
      text = true;
    }
    if (!text && isBreak) height = canvas_.GetFontHeight();
    int above = 0, below = 0;
    for (const auto& r : line_) {
      if (r.Kind != RunKind::Text) continue;
      above = std::max(above, -(height - r.Height + r.Shift));
      below = std::max(below, r.Shift);
    }
    const auto advance = [](const Piece& r) {
      return r.Kind == RunKind::Placeholder ? 0 : r.Width;
    };
    const int middle = (canvas_.Bounds.Left + canvas_.Bounds.Right) / 2;
    long long x = startX_;
    for (size_t i = 0; i < line_.size(); ++i) {
      Piece& r = line_[i];
      if (r.Centred && (i == 0 || !line_[i - 1].Centred)) {
        long long group = 0;
        for (size_t j = i; j < line_.size() && line_[j].Centred; ++j) group += advance(line_[j]);
        x = middle - group / 2;
      }
      r.X = Clamp(x);
      const long long lineTop = top_ + r.Drop + above;
      r.Y = Clamp(r.Kind == RunKind::Text ? lineTop + height - r.Height + r.Shift : lineTop);
      x += advance(r);
      right_ = std::max(right_, x);
      placed_.push_back(std::move(r));
    }
    top_ += above + height + below + drop_;
    drop_ = 0;
    line_.clear();
  }

  TPlotCanvas& canvas_;
  platform::TFont& font_;
  const int startX_;
  const int startY_;
  // Wide enough that no amount of text overflows them; clamped where they leave.
  long long top_;  // of the line being laid out
  long long right_;
  int shift_ = 0;
  long long drop_ = 0;  // of the line being laid out, by its loaded images
  bool centring_ = false;
  bool pushedBefore_ = false;
  bool pushedNow_ = false;
  std::vector<Pushed> fonts_;
  std::vector<std::string> styles_;
  std::vector<Piece> line_;
  std::vector<Piece> placed_;
};

void Draw(TPlotCanvas& canvas, const std::vector<Piece>& runs) {
  platform::TPen& pen = *canvas.Pen;
  platform::TBrush& brush = *canvas.Brush;
  for (const Piece& r : runs) {
    switch (r.Kind) {
      case RunKind::Text:
        r.Font.ApplyTo(*canvas.Font);
        canvas.TextOut(r.X, r.Y, r.Text);
        break;
      case RunKind::Graphic:
        if (r.Graphic->GetWidth() == r.Width && r.Graphic->GetHeight() == r.Height)
          canvas.Draw(r.X, r.Y, r.Graphic.get());
        else
          canvas.StretchDraw(TRect{r.X, r.Y, r.X + r.Width, r.Y + r.Height}, r.Graphic.get());
        break;
      case RunKind::Placeholder:
        brush.SetStyle(platform::bsSolid);
        brush.SetColor(platform::clWhite);
        pen.SetStyle(platform::psSolid);
        pen.SetWidth(1);
        pen.SetColor(platform::clRed);
        canvas.Rectangle(r.X, r.Y, r.X + r.Width, r.Y + r.Height);
        canvas.Line(r.X, r.Y, r.X + r.Width, r.Y + r.Height);
        canvas.Line(r.X, r.Y + r.Height, r.X + r.Width, r.Y);
        break;
      case RunKind::Rule:
        pen.SetStyle(platform::psSolid);
        pen.SetWidth(1);
        pen.SetColor(kRuleColor);
        canvas.Line(r.X, r.Y, r.X + r.Width, r.Y);
        break;
    }
  }
}

THtmlSize PlainExtent(TPlotCanvas& canvas, const std::string& text) {
  if (text.empty()) return {};
  return {canvas.TextWidth(text), std::max(canvas.GetFontHeight(), canvas.TextHeight(text))};
}

// Puts the caller's font back however the call ends.
class FontRestore {
 public:
  explicit FontRestore(platform::TFont& font) : font_(font), saved_(FontState::Of(font)) {}
  ~FontRestore() { Restore(); }
  void Restore() { saved_.ApplyTo(font_); }

 private:
  platform::TFont& font_;
  FontState saved_;
};

int useCount = 0;

}  // namespace

THtmlSize HtmlTextExtent(TPlotCanvas& canvas, const std::string& text) {
  if (!canvas.Font) return {};
  FontRestore restore(*canvas.Font);
  try {
    Layout layout(canvas, 0, 0);
    layout.Run(text);
    return layout.Extent();
  } catch (const HtmlParserException&) {
    restore.Restore();
    return PlainExtent(canvas, text);
  }
}

void HtmlTextOut(TPlotCanvas& canvas, int x, int y, const std::string& text) {
  if (!canvas.Font || !canvas.Pen || !canvas.Brush) return;
  FontRestore restore(*canvas.Font);
  // Laid out whole before anything is drawn, so that mark-up that cannot be read leaves
  // nothing half drawn: the text then goes out as it stands.
  Layout layout(canvas, x, y);
  try {
    layout.Run(text);
  } catch (const HtmlParserException&) {
    restore.Restore();
    canvas.TextOut(x, y, text);
    return;
  }
  const platform::TPenStyle penStyle = canvas.Pen->GetStyle();
  const int penWidth = canvas.Pen->GetWidth();
  const TColor penColor = canvas.Pen->GetColor();
  const platform::TBrushStyle brushStyle = canvas.Brush->GetStyle();
  const TColor brushColor = canvas.Brush->GetColor();
  Draw(canvas, layout.Placed());
  canvas.Pen->SetStyle(penStyle);
  canvas.Pen->SetWidth(penWidth);
  canvas.Pen->SetColor(penColor);
  canvas.Brush->SetStyle(brushStyle);
  canvas.Brush->SetColor(brushColor);
}

void HtmlTextStart() {
  if (useCount++ == 0) PlotHtmlTextOut = &HtmlTextOut;
}

void HtmlTextEnd() {
  if (useCount > 0 && --useCount == 0 && PlotHtmlTextOut == &HtmlTextOut) PlotHtmlTextOut = nullptr;
}

}  // namespace chart
