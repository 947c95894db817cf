// Forms built from layout text: controls at their pixel positions, captions, items, defaults,
// hidden tabs, event binding by name, and layout faults reported with their line.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <string_view>

#include "tests/vcl/vcl_test_support.h"

namespace {

using namespace platform;

constexpr std::string_view kTestLayout = R"LAYOUT(object TestForm: TTestForm
  Left = 40
  Top = 30
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Korvane'
  ClientHeight = 438
  ClientWidth = 302
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  OnCreate = FormCreate
  PixelsPerInch = 96
  TextHeight = 13
  object PageControl1: TPageControl
    Left = 0
    Top = 0
    Width = 305
    Height = 473
    ActivePage = TabSheet1
    TabOrder = 0
    object TabSheet1: TTabSheet
      Caption = 'Status'
      object GrpComport: TGroupBox
        Left = 8
        Top = 196
        Width = 137
        Height = 81
        Caption = 'Comport'
        TabOrder = 0
        object BtnOpen: TButton
          Left = 8
          Top = 48
          Width = 57
          Height = 25
          Caption = 'Open'
          TabOrder = 0
          OnClick = BtnOpenClick
        end
        object BtnClose: TButton
          Left = 8
          Top = 48
          Width = 57
          Height = 25
          Caption = 'Close'
          Visible = False
          OnClick = BtnOpenClick
        end
        object CmbCom: TComboBox
          Left = 8
          Top = 20
          Width = 60
          Height = 21
          ItemHeight = 13
          TabOrder = 1
          Text = 'COM1'
          Items.Strings = (
            'COM1'
            'COM2'
            'COM3')
        end
        object CmbBaud: TComboBox
          Left = 72
          Top = 20
          Width = 57
          Height = 21
          Style = csDropDownList
          ItemIndex = 4
          TabOrder = 2
          OnChange = CmbBaudChange
          Items.Strings = (
            '4800'
            '9600'
            '14400'
            '19200'
            '38400'
            '57600'
            '115200')
        end
      end
      object LabelLat: TLabel
        Left = 200
        Top = 40
        Width = 90
        Height = 13
        Alignment = taRightJustify
        AutoSize = False
        Font.Color = clRed
        Font.Style = [fsBold]
      end
      object StatusBar1: TStatusBar
        Left = 0
        Top = 426
        Width = 297
        Height = 19
        Panels = <
          item
            Alignment = taCenter
            Width = 100
          end
          item
            Alignment = taCenter
            Width = 50
          end>
      end
    end
    object TabSheet2: TTabSheet
      Caption = 'Setup'
      ImageIndex = 1
      TabVisible = False
      object MemoNMEA: TMemo
        Left = 4
        Top = 300
        Width = 289
        Height = 137
        ReadOnly = True
        ScrollBars = ssBoth
        Lines.Strings = (
          '$GPGGA')
      end
    end
    object TabSheet6: TTabSheet
      Caption = 'About'
    end
  end
  object Timer1: TTimer
    Enabled = False
    OnTimer = Timer1Timer
    Left = 264
    Top = 8
  end
  object SaveDialog1: TSaveDialog
    FileName = 'Korvane.nma'
    Filter = 'NMEA Files|*.nma|Text Files|*.txt|All Files|*.*'
    Left = 232
    Top = 8
  end
  object ActionList1: TActionList
    Left = 200
    Top = 8
    object ShowTab: TAction
      Caption = 'Action1'
      ShortCut = 49235
      OnExecute = ShowTabExecute
    end
  end
end
)LAYOUT";

class TTestForm : public TForm {
 public:
  explicit TTestForm(TComponent* Owner, std::string_view layout = kTestLayout) : TForm(Owner) {
    LoadLayout(layout, TLayoutBindings()
                           .Field("PageControl1", PageControl1)
                           .Field("TabSheet1", TabSheet1)
                           .Field("TabSheet2", TabSheet2)
                           .Field("GrpComport", GrpComport)
                           .Field("BtnOpen", BtnOpen)
                           .Field("BtnClose", BtnClose)
                           .Field("CmbCom", CmbCom)
                           .Field("CmbBaud", CmbBaud)
                           .Field("LabelLat", LabelLat)
                           .Field("StatusBar1", StatusBar1)
                           .Field("MemoNMEA", MemoNMEA)
                           .Field("Timer1", Timer1)
                           .Field("SaveDialog1", SaveDialog1)
                           .Field("ShowTab", ShowTab)
                           .Event("FormCreate", this, &TTestForm::FormCreate)
                           .Event("BtnOpenClick", this, &TTestForm::BtnOpenClick)
                           .Event("CmbBaudChange", this, &TTestForm::CmbBaudChange)
                           .Event("Timer1Timer", this, &TTestForm::Timer1Timer)
                           .Event("ShowTabExecute", this, &TTestForm::ShowTabExecute));
  }
  const char* ClassName() const override { return "TForm"; }

  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TGroupBox* GrpComport = nullptr;
  TButton* BtnOpen = nullptr;
  TButton* BtnClose = nullptr;
  TComboBox* CmbCom = nullptr;
  TComboBox* CmbBaud = nullptr;
  TLabel* LabelLat = nullptr;
  TStatusBar* StatusBar1 = nullptr;
  TMemo* MemoNMEA = nullptr;
  TTimer* Timer1 = nullptr;
  TSaveDialog* SaveDialog1 = nullptr;
  TAction* ShowTab = nullptr;

  int created = 0, opened = 0, baudChanged = 0, ticks = 0, shown = 0;
  TObject* lastSender = nullptr;

  void FormCreate(TObject*) { ++created; }
  void BtnOpenClick(TObject* Sender) {
    ++opened;
    lastSender = Sender;
  }
  void CmbBaudChange(TObject*) { ++baudChanged; }
  void Timer1Timer(TObject*) { ++ticks; }
  void ShowTabExecute(TObject*) {
    ++shown;
    TabSheet2->TabVisible = !TabSheet2->TabVisible;
  }
};

class LayoutForm : public vcltest::VclTest {};

QRect GeometryOf(const TControl* c) {
  return c->Widget()->geometry();
}

TEST_F(LayoutForm, PlacesEveryControlWhereTheLayoutSays) {
  TTestForm form(nullptr);
  EXPECT_EQ(form.GetName(), "TestForm");
  EXPECT_EQ(form.Caption, "Korvane");
  EXPECT_EQ(form.Widget()->windowTitle(), QStringLiteral("Korvane"));
  EXPECT_EQ(form.ClientWidth, 302);
  EXPECT_EQ(form.ClientHeight, 438);
  EXPECT_EQ(form.Widget()->size(), QSize(302, 438));
  // Single border: the window cannot be resized, and it has no maximise button.
  EXPECT_EQ(form.Widget()->minimumSize(), form.Widget()->maximumSize());
  EXPECT_FALSE(form.Widget()->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form.Widget()->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(form.Left, 40);
  EXPECT_EQ(form.Top, 30);

  struct Place {
    const TControl* control;
    const TWinControl* parent;
    QRect rect;
  };
  const Place places[] = {
      {form.PageControl1, &form, QRect(0, 0, 305, 473)},
      {form.GrpComport, form.TabSheet1, QRect(8, 196, 137, 81)},
      {form.BtnOpen, form.GrpComport, QRect(8, 48, 57, 25)},
      {form.BtnClose, form.GrpComport, QRect(8, 48, 57, 25)},
      {form.CmbCom, form.GrpComport, QRect(8, 20, 60, 21)},
      {form.CmbBaud, form.GrpComport, QRect(72, 20, 57, 21)},
      {form.LabelLat, form.TabSheet1, QRect(200, 40, 90, 13)},
      {form.MemoNMEA, form.TabSheet2, QRect(4, 300, 289, 137)},
  };
  for (const Place& p : places) {
    SCOPED_TRACE(p.control->GetName());
    EXPECT_EQ(p.control->GetParent(), p.parent);
    EXPECT_EQ(p.control->Widget()->parentWidget(), p.parent->ClientWidget());
    EXPECT_EQ(GeometryOf(p.control), p.rect);
    EXPECT_EQ(p.control->BoundsRect(),
              Bounds(p.rect.x(), p.rect.y(), p.rect.width(), p.rect.height()));
  }
  EXPECT_EQ(form.FindComponent("btnopen"), form.BtnOpen);
  EXPECT_EQ(form.BtnOpen->Owner(), &form);
}

TEST_F(LayoutForm, SetsCaptionsItemsAndDefaults) {
  TTestForm form(nullptr);
  EXPECT_EQ(form.BtnOpen->Caption, "Open");
  EXPECT_EQ(static_cast<QPushButton*>(form.BtnOpen->Widget())->text(), QStringLiteral("Open"));
  EXPECT_TRUE(form.BtnOpen->Visible);
  EXPECT_FALSE(form.BtnClose->Visible);
  EXPECT_EQ(static_cast<QGroupBox*>(form.GrpComport->Widget())->title(), QStringLiteral("Comport"));

  // csDropDown: the text of the layout, no item chosen.
  EXPECT_EQ(form.CmbCom->Items->Count(), 3);
  EXPECT_EQ(form.CmbCom->Text, "COM1");
  EXPECT_EQ(form.CmbCom->ItemIndex, -1);
  // csDropDownList with ItemIndex read before the items.
  EXPECT_EQ(form.CmbBaud->Items->Count(), 7);
  EXPECT_EQ(form.CmbBaud->ItemIndex, 4);
  EXPECT_EQ(form.CmbBaud->Text, "38400");
  EXPECT_EQ(form.CmbBaud->Items->Strings[6], "115200");

  EXPECT_EQ(form.LabelLat->Alignment, taRightJustify);
  EXPECT_FALSE(form.LabelLat->AutoSize);
  EXPECT_EQ(form.LabelLat->Font->Color, clRed);
  EXPECT_TRUE(form.LabelLat->Font->Style().Contains(fsBold));
  EXPECT_FALSE(form.LabelLat->ParentFont);
  EXPECT_EQ(form.LabelLat->Font->Name, "MS Sans Serif");
  EXPECT_EQ(form.LabelLat->Font->Size, 8);
  // A control without its own font takes the form's.
  EXPECT_TRUE(form.BtnOpen->ParentFont);
  EXPECT_EQ(form.BtnOpen->Font->Height, -11);

  ASSERT_EQ(form.StatusBar1->Panels.Count(), 2);
  EXPECT_EQ(form.StatusBar1->Panels[0].Width, 100);
  EXPECT_EQ(form.StatusBar1->Panels[1].Width, 50);
  EXPECT_EQ(form.StatusBar1->Panels[1].Alignment, taCenter);
  EXPECT_EQ(form.StatusBar1->Align, alBottom);

  EXPECT_EQ(form.MemoNMEA->Lines->Count(), 1);
  EXPECT_EQ(form.MemoNMEA->Lines->Strings[0], "$GPGGA");
  EXPECT_TRUE(form.MemoNMEA->ReadOnly);

  EXPECT_FALSE(form.Timer1->Enabled);
  EXPECT_EQ(form.Timer1->Interval, 1000);
  EXPECT_EQ(form.SaveDialog1->FileName, "Korvane.nma");
  EXPECT_EQ(form.SaveDialog1->Filter, "NMEA Files|*.nma|Text Files|*.txt|All Files|*.*");
  EXPECT_EQ(form.ShowTab->ShortCut, 0xC053);
  EXPECT_EQ(form.ShowTab->Caption, "Action1");
  EXPECT_EQ(form.ShowTab->ActionList()->GetName(), "ActionList1");
  EXPECT_EQ(ShortCutToText(form.ShowTab->ShortCut), "Ctrl+Alt+S");
}

TEST_F(LayoutForm, HiddenTabIsAbsent) {
  TTestForm form(nullptr);
  auto* tabs = static_cast<QTabWidget*>(form.PageControl1->Widget());
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(form.PageControl1->PageCount(), 3);
  EXPECT_EQ(form.PageControl1->ActivePage, form.TabSheet1);
  EXPECT_TRUE(tabs->isTabVisible(0));
  EXPECT_FALSE(tabs->isTabVisible(1));
  EXPECT_TRUE(tabs->isTabVisible(2));
  EXPECT_EQ(tabs->tabText(2), QStringLiteral("About"));
  EXPECT_FALSE(form.TabSheet2->TabVisible);
  EXPECT_EQ(form.TabSheet2->PageIndex(), 1);

  form.ShowTab->Execute();
  EXPECT_TRUE(tabs->isTabVisible(1));
  form.ShowTab->Execute();
  EXPECT_FALSE(tabs->isTabVisible(1));
  EXPECT_EQ(form.shown, 2);
}

TEST_F(LayoutForm, EventsBoundByNameFire) {
  TTestForm form(nullptr);
  // OnCreate runs in AfterConstruction, not while the layout is read.
  EXPECT_EQ(form.created, 0);
  form.AfterConstruction();
  EXPECT_EQ(form.created, 1);

  form.BtnOpen->Click();
  EXPECT_EQ(form.opened, 1);
  EXPECT_EQ(form.lastSender, form.BtnOpen);
  form.BtnClose->Click();
  EXPECT_EQ(form.opened, 2);
  EXPECT_EQ(form.lastSender, form.BtnClose);
  // A click from the window system goes the same way.
  static_cast<QPushButton*>(form.BtnOpen->Widget())->click();
  EXPECT_EQ(form.opened, 3);

  // Setting the index from code is not a change by the user.
  form.CmbBaud->ItemIndex = 1;
  EXPECT_EQ(form.baudChanged, 0);
  auto* box = static_cast<QComboBox*>(form.CmbBaud->Widget());
  emit box->activated(2);
  EXPECT_EQ(form.baudChanged, 1);
  EXPECT_TRUE(static_cast<bool>(form.Timer1->OnTimer));
}

struct BadLayout {
  const char* name;
  const char* text;
  int line;
  const char* what;
};

class LayoutFault : public vcltest::VclTest, public ::testing::WithParamInterface<BadLayout> {};

TEST_P(LayoutFault, RaisesNamingLineAndCause) {
  const BadLayout& b = GetParam();
  try {
    TForm form(nullptr);
    form.LoadLayout(b.text, TLayoutBindings().Event("Known", [](TObject*) {}));
    FAIL() << "accepted";
  } catch (const EReadError& e) {
    const std::string msg = e.what();
    EXPECT_EQ(msg.rfind("line " + std::to_string(b.line) + ":", 0), 0u) << msg;
    EXPECT_NE(msg.find(b.what), std::string::npos) << msg;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LayoutFault,
    ::testing::Values(
        BadLayout{
            "UnknownProperty",
            "object F: TForm\n  object B: TButton\n    Caption = 'x'\n    Foo = 1\n  end\nend", 4,
            "B.Foo: property Foo does not exist"},
        BadLayout{"UnknownDotted", "object F: TForm\n  Font.Colour = clRed\nend", 2,
                  "property Font.Colour does not exist"},
        BadLayout{"UnknownClass", "object F: TForm\n  Left = 1\n  object X: TFoo\n  end\nend", 3,
                  "class TFoo not found"},
        BadLayout{"WrongKind", "object F: TForm\n  Left = 'ten'\nend", 2, "expected an integer"},
        BadLayout{"UnknownColour", "object F: TForm\n  Color = clPlaid\nend", 2,
                  "unknown colour clPlaid"},
        BadLayout{"UnknownEnum", "object F: TForm\n  BorderStyle = bsRound\nend", 2,
                  "invalid value bsRound"},
        BadLayout{"UnknownSetElement", "object F: TForm\n  Font.Style = [fsBlink]\nend", 2,
                  "fsBlink"},
        BadLayout{"MissingHandler",
                  "object F: TForm\n  object B: TButton\n    OnClick = Nope\n  end\nend", 3,
                  "no handler named Nope"},
        BadLayout{"WrongHandlerSignature", "object F: TForm\n  OnClose = Known\nend", 2,
                  "wrong signature"},
        BadLayout{"DuplicateName",
                  "object F: TForm\n  object B: TButton\n  end\n  object B: TLabel\n  end\nend", 4,
                  "already exists"},
        BadLayout{"MissingReference",
                  "object F: TForm\n  object P: TPageControl\n    ActivePage = Nowhere\n"
                  "  end\nend",
                  3, "Nowhere"},
        BadLayout{"BadPicture",
                  "object F: TForm\n  object I: TImage\n    Picture.Data = {0454466F6F}\n"
                  "  end\nend",
                  3, "Picture.Data"},
        BadLayout{"BadGridIndex",
                  "object F: TForm\n  object G: TStringGrid\n    ColCount = 2\n"
                  "    ColWidths = (1 2 3)\n  end\nend",
                  4, "Grid index out of range"}),
    [](const ::testing::TestParamInfo<BadLayout>& i) { return std::string(i.param.name); });

TEST_F(LayoutForm, FieldsMustMatchTheLayout) {
  TButton* button = nullptr;
  TLabel* label = nullptr;
  {
    TForm form(nullptr);
    EXPECT_THROW(form.LoadLayout("object F: TForm\nend", TLayoutBindings().Field("B", button)),
                 EReadError);
  }
  {
    TForm form(nullptr);
    EXPECT_THROW(form.LoadLayout("object F: TForm\n  object B: TButton\n  end\nend",
                                 TLayoutBindings().Field("B", label)),
                 EReadError);
    EXPECT_EQ(label, nullptr);
  }
}

TEST_F(LayoutForm, RegistryIsOpenToOtherLibraries) {
  // A library registers its own class and published properties the same way.
  struct TDial : public TPanel {
    using TPanel::TPanel;
    const char* ClassName() const override { return "TDial"; }
    double Value = 0;
  };
  RegisterComponentClass<TDial>("TDial", "TPanel")
      .Value<TDial>("Value", [](TDial& d, const TLayoutValue& v) { d.Value = v.AsReal(); });
  TForm form(nullptr);
  form.LoadLayout(
      "object F: TForm\n  object D: TDial\n    Value = 2.5\n    Caption = 'x'\n"
      "    Font.Size = 12\n  end\nend",
      TLayoutBindings());
  auto* dial = dynamic_cast<TDial*>(form.FindComponent("D"));
  ASSERT_NE(dial, nullptr);
  EXPECT_DOUBLE_EQ(dial->Value, 2.5);
  EXPECT_EQ(dial->Caption, "x");
  EXPECT_EQ(dial->Font->Size, 12);
  EXPECT_EQ(dial->Font->Height, -16);
}

}  // namespace
