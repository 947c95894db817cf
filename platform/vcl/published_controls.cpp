// Published properties of the controls and forms.
#include "platform/vcl/form.h"
#include "platform/vcl/image.h"
#include "platform/vcl/page_control.h"
#include "platform/vcl/published_helpers.h"
#include "platform/vcl/standard_controls.h"
#include "platform/vcl/status_bar.h"
#include "platform/vcl/string_grid.h"

namespace platform {

using namespace published;

namespace {

// Resolves a component named in the layout once every object exists.
template <class T, class C, class A>
auto Reference(void (C::*set)(A)) {
  return [set](C& c, const TLayoutValue& v, TLayoutContext& ctx) {
    const std::string name = v.AsIdent();
    const int line = v.Line;
    ctx.AddFixup([&c, set, name, line, &ctx] {
      auto* target = dynamic_cast<T*>(ctx.Root().FindComponent(name));
      if (!target) {
        throw EReadError("line " + std::to_string(line) + ": no suitable component named " + name);
      }
      (c.*set)(target);
    });
  };
}

void RegisterControlBase() {
  RegisterClass("TControl", "TComponent")
      .Value<TControl>("Left", Int(&TControl::SetLeft))
      .Value<TControl>("Top", Int(&TControl::SetTop))
      .Value<TControl>("Width", Int(&TControl::SetWidth))
      .Value<TControl>("Height", Int(&TControl::SetHeight))
      .Value<TControl>("ClientWidth", Int(&TControl::SetClientWidth))
      .Value<TControl>("ClientHeight", Int(&TControl::SetClientHeight))
      .Value<TControl>("Visible", Bool(&TControl::SetVisible))
      .Value<TControl>("Enabled", Bool(&TControl::SetEnabled))
      .Value<TControl>("Hint", Str(&TControl::SetHint))
      .Value<TControl>("ShowHint", Bool(&TControl::SetShowHint))
      .Value<TControl>("ParentShowHint", Bool(&TControl::SetParentShowHint))
      .Value<TControl>(
          "Align", Enum<TAlign>(&TControl::SetAlign,
                                {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}))
      .Value<TControl>("Anchors", Set<TAnchorKind>(&TControl::SetAnchors,
                                                   {"akLeft", "akTop", "akRight", "akBottom"}))
      .Value<TControl>("Color", Color(&TControl::SetColor))
      .Value<TControl>("ParentColor", Bool(&TControl::SetParentColor))
      .Value<TControl>("ParentFont", Bool(&TControl::SetParentFont))
      .Object<TControl>("Font", "TFont", [](TControl& c) { return c.Font; })
      // Look and design-time values with no meaning here.
      .Ignore("Ctl3D")
      .Ignore("ParentCtl3D")
      .Ignore("BiDiMode")
      .Ignore("ParentBiDiMode")
      .Ignore("Cursor")
      .Ignore("HelpContext")
      .Ignore("DragCursor")
      .Ignore("DragKind")
      .Ignore("DragMode")
      .Ignore("ImeMode")
      .Ignore("ImeName")
      .Ignore("DesignSize");
  RegisterClass("TWinControl", "TControl")
      .Value<TWinControl>("TabOrder", Field(&TWinControl::TabOrder))
      .Value<TWinControl>("TabStop", Field(&TWinControl::TabStop))
      .Value<TWinControl>("DoubleBuffered", Field(&TWinControl::DoubleBuffered));
}

void RegisterForm() {
  RegisterClass("TForm", "TWinControl")
      .Value<TForm>("Caption", Str(&TControl::SetCaption))
      .Value<TForm>("BorderStyle",
                    Enum<TFormBorderStyle>(&TForm::SetBorderStyle,
                                           {"bsNone", "bsSingle", "bsSizeable", "bsDialog",
                                            "bsToolWindow", "bsSizeToolWin"}))
      .Value<TForm>("BorderIcons",
                    Set<TBorderIcon>(&TForm::SetBorderIcons,
                                     {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}))
      .Value<TForm>("Position",
                    Enum<TPosition>(&TForm::SetPosition,
                                    {"poDesigned", "poDefault", "poDefaultPosOnly",
                                     "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
                                     "poMainFormCenter", "poOwnerFormCenter"}))
      .Event<TForm>("OnCreate", &TForm::OnCreate)
      .Event<TForm>("OnDestroy", &TForm::OnDestroy)
      .Event<TForm>("OnClose", &TForm::OnClose)
      .Ignore("PixelsPerInch")
      .Ignore("TextHeight")
      .Ignore("OldCreateOrder")
      .Ignore("Scaled");
}

void RegisterStandardControls() {
  RegisterComponentClass<TLabel>("TLabel", "TControl")
      .Value<TLabel>("Caption", Str(&TControl::SetCaption))
      .Value<TLabel>("Alignment", Enum<TAlignment>(&TLabel::SetAlignment, kAlignment))
      .Value<TLabel>("Layout",
                     Enum<TTextLayout>(&TLabel::SetLayout, {"tlTop", "tlCenter", "tlBottom"}))
      .Value<TLabel>("AutoSize", Bool(&TLabel::SetAutoSize))
      .Value<TLabel>("WordWrap", Bool(&TLabel::SetWordWrap))
      .Value<TLabel>("Transparent", Bool(&TLabel::SetTransparent));
  RegisterComponentClass<TButton>("TButton", "TWinControl")
      .Value<TButton>("Caption", Str(&TControl::SetCaption))
      .Value<TButton>("ModalResult",
                      [](TButton& b, const TLayoutValue& v) {
                        b.ModalResult = v.ValueKind == TLayoutValue::vkInteger
                                            ? v.AsInteger()
                                            : v.AsEnum(kModalResult);
                      })
      .Value<TButton>("Default", Field(&TButton::Default))
      .Value<TButton>("Cancel", Field(&TButton::Cancel))
      .Event<TButton>("OnClick", &TButton::OnClick);
  RegisterComponentClass<TEdit>("TEdit", "TWinControl")
      .Value<TEdit>("Text", Str(&TEdit::SetText))
      .Value<TEdit>("ReadOnly", Bool(&TEdit::SetReadOnly))
      .Value<TEdit>("MaxLength", Int(&TEdit::SetMaxLength))
      .Event<TEdit>("OnChange", &TEdit::OnChange);
  RegisterComponentClass<TCheckBox>("TCheckBox", "TWinControl")
      .Value<TCheckBox>("Caption", Str(&TControl::SetCaption))
      .Value<TCheckBox>("Checked", Bool(&TCheckBox::SetChecked))
      .Event<TCheckBox>("OnClick", &TCheckBox::OnClick);
  RegisterComponentClass<TRadioButton>("TRadioButton", "TWinControl")
      .Value<TRadioButton>("Caption", Str(&TControl::SetCaption))
      .Value<TRadioButton>("Checked", Bool(&TRadioButton::SetChecked))
      .Event<TRadioButton>("OnClick", &TRadioButton::OnClick);
  RegisterComponentClass<TGroupBox>("TGroupBox", "TWinControl")
      .Value<TGroupBox>("Caption", Str(&TControl::SetCaption));
  RegisterComponentClass<TPanel>("TPanel", "TWinControl")
      .Value<TPanel>("Caption", Str(&TControl::SetCaption))
      .Value<TPanel>("BevelOuter", Enum<TBevelCut>(&TPanel::SetBevelOuter,
                                                   {"bvNone", "bvLowered", "bvRaised", "bvSpace"}))
      .Value<TPanel>("BevelInner", Enum<TBevelCut>(&TPanel::SetBevelInner,
                                                   {"bvNone", "bvLowered", "bvRaised", "bvSpace"}))
      .Value<TPanel>("BevelWidth", Int(&TPanel::SetBevelWidth))
      .Value<TPanel>("BorderStyle",
                     Enum<TBorderStyle>(&TPanel::SetBorderStyle, {"bsNone", "bsSingle"}))
      .Value<TPanel>("Alignment", Enum<TAlignment>(&TPanel::SetAlignment, kAlignment))
      .Ignore("ParentBackground")
      .Ignore("FullRepaint");
  RegisterComponentClass<TImage>("TImage", "TControl")
      .Object<TImage>("Picture", "TPicture", [](TImage& i) { return i.Picture; })
      .Value<TImage>("Stretch", Bool(&TImage::SetStretch))
      .Value<TImage>("Center", Bool(&TImage::SetCenter))
      .Value<TImage>("AutoSize", Bool(&TImage::SetAutoSize))
      .Value<TImage>("Transparent", Field(&TImage::Transparent));
}

void RegisterPagesAndBars() {
  RegisterComponentClass<TPageControl>("TPageControl", "TWinControl")
      .Value<TPageControl>("ActivePage", Reference<TTabSheet>(&TPageControl::SetActivePage));
  RegisterComponentClass<TTabSheet>("TTabSheet", "TWinControl")
      .Value<TTabSheet>("Caption", Str(&TControl::SetCaption))
      .Value<TTabSheet>("TabVisible", Bool(&TTabSheet::SetTabVisible))
      .Value<TTabSheet>("PageControl", Reference<TPageControl>(&TTabSheet::SetPageControl))
      .Ignore("ImageIndex");
  RegisterClass("TStatusPanel", "TPersistent")
      .Value<TStatusPanel>("Text", Str(&TStatusPanel::SetText))
      .Value<TStatusPanel>("Width", Int(&TStatusPanel::SetWidth))
      .Value<TStatusPanel>("Alignment", Enum<TAlignment>(&TStatusPanel::SetAlignment, kAlignment))
      .Ignore("Bevel");
  RegisterComponentClass<TStatusBar>("TStatusBar", "TWinControl")
      .Collection<TStatusBar>(
          "Panels", "TStatusPanel", [](TStatusBar& b) { b.Panels.Clear(); },
          [](TStatusBar& b) -> TPersistent* { return b.Panels.Add(); })
      .Value<TStatusBar>("SimplePanel", Bool(&TStatusBar::SetSimplePanel))
      .Value<TStatusBar>("SimpleText", Str(&TStatusBar::SetSimpleText))
      .Ignore("SizeGrip")
      .Ignore("UseSystemFont");
  RegisterComponentClass<TStringGrid>("TStringGrid", "TWinControl")
      .Value<TStringGrid>("ColCount", Int(&TStringGrid::SetColCount))
      .Value<TStringGrid>("RowCount", Int(&TStringGrid::SetRowCount))
      .Value<TStringGrid>("FixedCols", Int(&TStringGrid::SetFixedCols))
      .Value<TStringGrid>("FixedRows", Int(&TStringGrid::SetFixedRows))
      .Value<TStringGrid>("DefaultRowHeight", Int(&TStringGrid::SetDefaultRowHeight))
      .Value<TStringGrid>("DefaultColWidth", Int(&TStringGrid::SetDefaultColWidth))
      .Value<TStringGrid>("ColWidths",
                          [](TStringGrid& g, const TLayoutValue& v) {
                            const auto& widths = v.AsList();
                            for (size_t i = 0; i < widths.size(); ++i) {
                              g.SetColWidth(static_cast<int>(i), widths[i].AsInteger());
                            }
                          })
      .Value<TStringGrid>("ScrollBars",
                          Enum<TScrollStyle>(&TStringGrid::SetScrollBars, kScrollStyle))
      // Cells are never edited in place here; the options only shape the original's look.
      .Value<TStringGrid>("Options", [](TStringGrid&, const TLayoutValue& v) {
        v.AsSetBits({"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine",
                     "goRangeSelect", "goDrawFocusSelected", "goRowSizing", "goColSizing",
                     "goRowMoving", "goColMoving", "goEditing", "goTabs", "goRowSelect",
                     "goAlwaysShowEditor", "goThumbTracking"});
      });
}

}  // namespace

void RegisterControlClasses() {
  RegisterControlBase();
  RegisterForm();
  RegisterStandardControls();
  RegisterPagesAndBars();
}

}  // namespace platform
