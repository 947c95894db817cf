// Behaviour of the individual controls that the console relies on.
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTextBlock>
#include <tuple>

#include "tests/vcl/vcl_test_support.h"

namespace {

using namespace platform;

class Controls : public vcltest::VclTest {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    form = std::make_unique<TForm>(nullptr);
    form->ClientWidth = 300;
    form->ClientHeight = 200;
  }
  void TearDown() override {
    form.reset();
    VclTest::TearDown();
  }
  template <class T>
  T* Make(TWinControl* parent = nullptr) {
    auto* c = new T(form.get());
    c->Parent = parent ? parent : form.get();
    return c;
  }
  std::unique_ptr<TForm> form;
};

TEST_F(Controls, ComboItemIndexOutsideTheListEmptiesTheText) {
  auto* cmb = Make<TComboBox>();
  for (const char* s : {"1", "2", "3", "4", "5"}) cmb->Items->Add(s);
  // Adding items chooses none.
  EXPECT_EQ(cmb->ItemIndex, -1);
  struct Case {
    int index;
    int expectIndex;
    const char* expectText;
  };
  for (const Case& c : {Case{4, 4, "5"}, Case{9, -1, ""}, Case{0, 0, "1"}, Case{-1, -1, ""},
                        Case{-5, -1, ""}, Case{5, -1, ""}}) {
    SCOPED_TRACE(c.index);
    cmb->ItemIndex = c.index;
    EXPECT_EQ(cmb->ItemIndex, c.expectIndex);
    EXPECT_EQ(cmb->Text, c.expectText);
  }
  cmb->Text = "300";
  EXPECT_EQ(cmb->Text, "300");
  EXPECT_EQ(cmb->ItemIndex, -1);
  // A list-only combo box chooses the item of that text, or none.
  cmb->Style = csDropDownList;
  cmb->Text = "3";
  EXPECT_EQ(cmb->ItemIndex, 2);
  cmb->Text = "nine";
  EXPECT_EQ(cmb->ItemIndex, -1);
  EXPECT_EQ(cmb->Text, "");
}

TEST_F(Controls, ComboChangeRunsOnlyForTheUser) {
  auto* cmb = Make<TComboBox>();
  int changes = 0;
  cmb->OnChange = [&](TObject* s) {
    EXPECT_EQ(s, cmb);
    ++changes;
  };
  cmb->Items->Add("4800");
  cmb->Items->Add("9600");
  cmb->ItemIndex = 1;
  cmb->Text = "x";
  EXPECT_EQ(changes, 0);
  auto* box = static_cast<QComboBox*>(cmb->Widget());
  emit box->lineEdit()->textEdited(QStringLiteral("96"));
  emit box->activated(0);
  EXPECT_EQ(changes, 2);
}

TEST_F(Controls, RadioButtonsOfOneParentExcludeEachOther) {
  auto* group = Make<TGroupBox>();
  auto* a = Make<TRadioButton>(group);
  auto* b = Make<TRadioButton>(group);
  auto* c = Make<TRadioButton>(group);
  auto* other = Make<TRadioButton>();
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  a->Checked = true;
  other->Checked = true;
  EXPECT_TRUE(a->Checked);
  b->Checked = true;
  EXPECT_FALSE(a->Checked);
  EXPECT_TRUE(b->Checked);
  EXPECT_FALSE(c->Checked);
  EXPECT_TRUE(other->Checked);
  EXPECT_EQ(clicks, 1);
  // The chosen one can be unchosen from code, leaving none.
  b->Checked = false;
  EXPECT_FALSE(a->Checked || b->Checked || c->Checked);
  c->Checked = true;
  EXPECT_TRUE(c->Checked);
  EXPECT_FALSE(static_cast<QRadioButton*>(b->Widget())->isChecked());
}

TEST_F(Controls, CheckBoxAndEditReportChanges) {
  auto* chk = Make<TCheckBox>();
  auto* edit = Make<TEdit>();
  int clicks = 0, changes = 0;
  chk->OnClick = [&](TObject*) { ++clicks; };
  edit->OnChange = [&](TObject*) { ++changes; };
  chk->Checked = true;
  chk->Checked = true;  // no change, no click
  EXPECT_EQ(clicks, 1);
  static_cast<QCheckBox*>(chk->Widget())->click();
  EXPECT_FALSE(chk->Checked);
  EXPECT_EQ(clicks, 2);
  edit->Text = "127.0.0.1";
  edit->Text = "127.0.0.1";
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(static_cast<QLineEdit*>(edit->Widget())->text(), QStringLiteral("127.0.0.1"));
  emit static_cast<QLineEdit*>(edit->Widget())->textEdited(QStringLiteral("7005"));
  EXPECT_EQ(changes, 2);
}

TEST_F(Controls, TextsAreShownPlainAndAsLatin1) {
  auto* label = Make<TLabel>();
  label->Caption = "<b>X</b>";
  auto* q = static_cast<QLabel*>(label->Widget());
  EXPECT_EQ(q->textFormat(), Qt::PlainText);
  EXPECT_EQ(q->text(), QStringLiteral("<b>X</b>"));
  label->Caption = "90\xB0";
  EXPECT_EQ(q->text(), QString(QStringLiteral("90")) + QChar(0xB0));
  EXPECT_EQ(label->Caption, "90\xB0");
  form->Caption = "Korvane (f/w: <i>1.0</i> \xE9)";
  EXPECT_EQ(form->Widget()->windowTitle(),
            QString(QStringLiteral("Korvane (f/w: <i>1.0</i> ")) + QChar(0xE9) + QChar(')'));
}

TEST_F(Controls, LabelsAndPanelsFillOnlyAColourOfTheirOwn) {
  auto* panel = Make<TPanel>();
  auto* label = Make<TLabel>(panel);
  auto* q = static_cast<QLabel*>(label->Widget());
  // The parent's colour is left to the parent to paint.
  EXPECT_TRUE(label->ParentColor);
  EXPECT_EQ(label->Color, clBtnFace);
  EXPECT_FALSE(q->autoFillBackground());
  EXPECT_FALSE(panel->Widget()->autoFillBackground());
  label->Color = clRed;
  EXPECT_FALSE(label->ParentColor);
  EXPECT_TRUE(q->autoFillBackground());
  EXPECT_EQ(q->palette().color(QPalette::Window), QColor(Qt::red));
  label->Transparent = true;
  EXPECT_FALSE(q->autoFillBackground());
  label->Transparent = false;
  // The parent takes the same colour: nothing of the label's own is left to fill.
  panel->Color = clRed;
  EXPECT_TRUE(panel->Widget()->autoFillBackground());
  EXPECT_FALSE(q->autoFillBackground());
  label->ParentColor = true;
  panel->Color = clYellow;
  EXPECT_EQ(label->Color, clYellow);
  EXPECT_FALSE(q->autoFillBackground());
}

struct PaintCounter : QObject {
  explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

// Where the colour beneath a label is one known colour, the label paints exactly that colour
// itself, and a new text repaints the label and not the page under it.
TEST_F(Controls, LabelsPaintTheColourShownBeneathThem) {
  auto* pages = Make<TPageControl>();
  pages->SetBounds(0, 0, 300, 170);
  auto* sheet = new TTabSheet(form.get());
  sheet->PageControl = pages;
  auto* panel = Make<TPanel>(sheet);
  panel->SetBounds(0, 0, 150, 100);
  panel->BevelOuter = bvLowered;
  form->Show();
  for (auto [where, parent, bounds, fills] :
       {std::tuple<const char*, TWinControl*, TRect, bool>{"panel on a page", panel,
                                                           Bounds(20, 20, 60, 13), true},
        {"over the panel's bevel", panel, Bounds(0, 40, 60, 13), false},
        {"page", sheet, Bounds(180, 100, 60, 13), true},
        {"form", form.get(), Bounds(20, 180, 60, 13), true}}) {
    SCOPED_TRACE(where);
    auto* label = Make<TLabel>(parent);
    label->AutoSize = false;
    label->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    auto* q = static_cast<QLabel*>(label->Widget());
    EXPECT_EQ(q->autoFillBackground(), fills);
    const QPoint middle = q->mapTo(form->Widget(), q->rect().center());
    const QRgb shown = form->Widget()->grab().toImage().pixel(middle);
    label->Visible = false;
    EXPECT_EQ(form->Widget()->grab().toImage().pixel(middle), shown);
    label->Visible = true;
    if (!fills) continue;
    vcltest::ProcessEvents();
    PaintCounter pagePaints(pages->Widget()), labelPaints(q);
    label->Caption = "12.3";
    EXPECT_TRUE(vcltest::WaitUntil([&] { return labelPaints.paints > 0; }));
    EXPECT_EQ(pagePaints.paints, 0);
  }
}

// A label that paints its own background stops doing so once a frame or caption comes beneath
// it: an empty label changes no pixel, before and after.
TEST_F(Controls, LabelBackgroundFollowsWhatLiesBeneath) {
  form->ClientWidth = 500;
  form->ClientHeight = 300;
  enum Where { kOuterOnForm, kOuterOnPage, kInner };
  const std::tuple<const char*, Where, std::function<void(TPanel*, TPanel*)>> cases[] = {
      {"a bevelled panel shrinks over its label", kOuterOnForm,
       [](TPanel* outer, TPanel*) { outer->Width = 50; }},
      {"the same on a page", kOuterOnPage, [](TPanel* outer, TPanel*) { outer->Width = 50; }},
      {"a panel is moved onto its parent's bevel", kInner,
       [](TPanel*, TPanel* inner) { inner->Left = -20; }},
      {"a panel is moved over another's bevel", kOuterOnForm,
       [](TPanel* outer, TPanel*) {
         outer->BevelOuter = bvNone;
         outer->Top = 125;
       }},
      {"a caption comes", kOuterOnPage, [](TPanel* outer, TPanel*) { outer->Caption = "x"; }},
  };
  for (const auto& [what, where, change] : cases) {
    SCOPED_TRACE(what);
    auto* under = Make<TPanel>();
    under->SetBounds(0, 160, 500, 140);
    auto* pages = Make<TPageControl>();
    pages->SetBounds(0, 0, 240, 150);
    auto* sheet = new TTabSheet(form.get());
    sheet->PageControl = pages;
    auto* outer = Make<TPanel>(sheet);
    if (where == kOuterOnForm) outer->Parent = form.get();
    outer->SetBounds(where == kOuterOnForm ? 260 : 10, 10, 150, 100);
    auto* inner = Make<TPanel>(outer);
    inner->BevelOuter = bvNone;
    inner->SetBounds(10, 45, 130, 50);
    auto* label = Make<TLabel>(where == kInner ? inner : outer);
    label->AutoSize = false;
    label->SetBounds(20, 30, 60, 13);
    form->Show();
    const auto* q = static_cast<QLabel*>(label->Widget());
    EXPECT_TRUE(q->autoFillBackground());
    change(outer, inner);
    vcltest::ProcessEvents();
    EXPECT_FALSE(q->autoFillBackground());
    const QImage shown = form->Widget()->grab().toImage();
    label->Visible = false;
    EXPECT_TRUE(form->Widget()->grab().toImage() == shown);
    form->Hide();
    if (outer->GetParent() == form.get()) delete outer;
    delete pages;
    delete under;
  }
}

// Where an opaque picture covers its image, a new drawing repaints the image and not the form.
TEST_F(Controls, AnImageCoveredByItsPictureRepaintsAlone) {
  auto* image = Make<TImage>();
  image->SetBounds(10, 10, 40, 30);
  form->Show();
  for (auto [width, stretch, covered] :
       {std::tuple{40, false, true}, {20, false, false}, {20, true, true}}) {
    image->Picture->Bitmap()->SetSize(width, 30);
    image->Stretch = stretch;
    vcltest::ProcessEvents();
    PaintCounter formPaints(form->Widget()), imagePaints(image->Widget());
    image->Canvas->Rectangle(0, 0, 5, 5);
    EXPECT_TRUE(vcltest::WaitUntil([&] { return imagePaints.paints > 0; }));
    EXPECT_EQ(formPaints.paints == 0, covered) << width << stretch;
  }
}

TEST_F(Controls, AutoSizedLabelKeepsItsAnchorEdge) {
  auto* left = Make<TLabel>();
  auto* right = Make<TLabel>();
  left->SetBounds(10, 10, 100, 13);
  right->Alignment = taRightJustify;
  right->SetBounds(10, 40, 100, 13);
  left->Caption = "N   12.34567";
  right->Caption = "N   12.34567";
  EXPECT_EQ(left->Left, 10);
  EXPECT_GT(left->Width, 0);
  EXPECT_EQ(right->Left + right->Width, 110);
  EXPECT_EQ(right->Width, left->Width);
  right->AutoSize = false;
  right->Width = 100;
  right->Caption = "x";
  EXPECT_EQ(right->Width, 100);
}

// A hidden box holds the lines added until it is shown; either way the last line comes into view.
TEST_F(Controls, MemoAddsLinesAndScrollsToThem) {
  for (bool shownFirst : {true, false}) {
    SCOPED_TRACE(shownFirst);
    auto* memo = Make<TMemo>();
    memo->SetBounds(0, 0, 200, 60);
    memo->ScrollBars = ssBoth;
    memo->ReadOnly = true;
    auto* edit = static_cast<QPlainTextEdit*>(memo->Widget());
    if (shownFirst) form->Show();
    memo->Lines->Add("dropped");
    memo->Lines->Clear();
    std::string text;  // the box's own, once shown
    TStringList more;
    for (int i = 0; i < 199; ++i) {
      (i < 150 ? *memo->Lines : more).Add("$GPGGA," + std::to_string(i));
      text += "$GPGGA," + std::to_string(i) + "\n";
    }
    memo->Lines->AddStrings(more);
    // The box breaks a line at CR LF, LF and CR, held or not.
    memo->Lines->Add("$GPGGA,199\r\n$GPRMC,200\n$GPVTG,201\r$GPZDA,202");
    EXPECT_EQ(memo->Lines->Count(), 203);
    EXPECT_EQ(memo->Lines->Strings[199], "$GPGGA,199");
    EXPECT_EQ(memo->Lines->Strings[202], "$GPZDA,202");
    EXPECT_EQ(edit->document()->blockCount(), shownFirst ? 203 : 1);
    form->Show();
    EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(edit->toPlainText().toStdString(),
              text + "$GPGGA,199\n$GPRMC,200\n$GPVTG,201\n$GPZDA,202");
    EXPECT_EQ(memo->Lines->Count(), 203);
    EXPECT_EQ(edit->textCursor().blockNumber(), 202);
    memo->Lines->Clear();
    EXPECT_EQ(memo->Lines->Count(), 0);
    form->Hide();
    delete memo;
  }
}

// A box shown again after its page was left looks as one that took every line in view: the last
// line on the bottom row, nothing empty under it, however its lines came.
TEST_F(Controls, MemoShownAgainEndsOnItsLastLine) {
  struct Case {
    int before, held, perChunk;
  };
  for (const Case c : {Case{1, 30, 1}, {3, 30, 1}, {5, 4, 1}, {6, 30, 3}, {12, 30, 10}}) {
    SCOPED_TRACE(testing::Message() << c.before << " then " << c.held << " by " << c.perChunk);
    auto* pages = Make<TPageControl>();
    pages->SetBounds(0, 0, 300, 130);
    TTabSheet* sheets[2];
    for (auto*& s : sheets) {
      s = new TTabSheet(form.get());
      s->PageControl = pages;
    }
    TMemo* memos[2];
    for (auto*& m : memos) {
      m = Make<TMemo>(sheets[0]);
      m->SetBounds(0, 0, 297, 94);
      m->ScrollBars = ssBoth;
      m->WordWrap = false;
      m->ReadOnly = true;
    }
    const auto edit = [](TMemo* m) { return static_cast<QPlainTextEdit*>(m->Widget()); };
    int n = 0;
    const auto add = [&](TMemo* m, int lines) {
      for (int i = 0; i < lines; i += c.perChunk) {
        TStringList chunk;
        for (int k = i; k < std::min(lines, i + c.perChunk); ++k)
          chunk.Add("$GPGSV,3,1,12,01,40,083,46," + std::to_string(n++));
        m->Lines->AddStrings(chunk);
        vcltest::ProcessEvents(1);
      }
    };
    form->Show();
    pages->ActivePage = sheets[0];
    add(memos[0], 40);
    memos[0]->Lines->Clear();
    vcltest::ProcessEvents();
    add(memos[0], c.before);
    pages->ActivePage = sheets[1];
    vcltest::ProcessEvents();
    add(memos[0], c.held);
    memos[1]->Visible = false;
    pages->ActivePage = sheets[0];
    vcltest::ProcessEvents();
    // The same lines, each added in view.
    memos[0]->Visible = false;
    memos[1]->Visible = true;
    n -= c.before + c.held;
    add(memos[1], c.before + c.held);
    memos[0]->Visible = true;
    vcltest::ProcessEvents();
    QImage look[2];
    for (int i : {0, 1}) {
      QPlainTextEdit* e = edit(memos[i]);
      QTextCursor last(e->document()->lastBlock());
      const QRect r = e->cursorRect(last);
      EXPECT_LE(r.bottom(), e->viewport()->height() - 1) << i;
      EXPECT_GT(r.bottom(), e->viewport()->height() - 1 - r.height()) << i << " an empty row";
      look[i] = e->grab().toImage();
    }
    EXPECT_TRUE(look[0] == look[1]);
    delete pages;
  }
}

TEST_F(Controls, StringGridCellsAndHeadings) {
  auto* grid = Make<TStringGrid>();
  grid->ColCount = 4;
  grid->RowCount = 33;
  grid->DefaultRowHeight = 15;
  grid->ColWidths[3] = 122;
  grid->Cells[0][0] = "Channel";
  grid->Cells[1][0] = "SVid";
  grid->Cells[2][0] = "SNR";
  grid->Cells[3][0] = "Status";
  grid->Cells[0][32] = "32";
  grid->Cells[3][32] = "Tracking";
  EXPECT_EQ(grid->Cells[3][32], "Tracking");
  EXPECT_EQ(grid->Cells[2][5], "");
  EXPECT_EQ(grid->ColWidths[3], 122);
  auto* view = static_cast<QTableView*>(grid->Widget());
  QAbstractItemModel* m = view->model();
  // One fixed row and column are the headings; the others are cells.
  EXPECT_EQ(m->rowCount(), 32);
  EXPECT_EQ(m->columnCount(), 3);
  EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral("SVid"));
  EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Status"));
  EXPECT_EQ(m->headerData(31, Qt::Vertical).toString(), QStringLiteral("32"));
  EXPECT_EQ(m->data(m->index(31, 2)).toString(), QStringLiteral("Tracking"));
  EXPECT_EQ(view->columnWidth(2), 122);
  EXPECT_EQ(view->verticalHeader()->defaultSectionSize(), 15);
  for (auto [c, r] : {std::pair{-1, 0}, {4, 0}, {0, 33}, {0, -1}}) {
    EXPECT_THROW(grid->Cells[c][r] = "x", EListError);
    EXPECT_THROW(grid->GetCell(c, r), EListError);
  }
  grid->Enabled = false;
  EXPECT_FALSE(view->isEnabled());
  // Shrinking keeps what still fits.
  grid->RowCount = 10;
  EXPECT_EQ(grid->Cells[1][0], "SVid");
  EXPECT_THROW(grid->GetCell(0, 32), EListError);
}

TEST_F(Controls, StatusBarPanelsAndPlace) {
  auto* bar = Make<TStatusBar>();
  EXPECT_EQ(bar->Align, alBottom);
  EXPECT_EQ(bar->BoundsRect(), Bounds(0, 200 - 19, 300, 19));
  bar->Panels.Add()->Width = 100;
  bar->Panels.Add()->Width = 50;
  bar->Panels[0].Text = "Model / SDK";
  EXPECT_EQ(bar->Panels[0].Text, "Model / SDK");
  EXPECT_THROW(bar->Panels[2], EListError);
  EXPECT_THROW(bar->Panels[-1], EListError);
  // The window grows: the bar stays at the bottom.
  form->ClientHeight = 240;
  EXPECT_EQ(bar->Top, 240 - 19);
  // A bar placed by hand lies where it is put, below the client area if so.
  auto* below = Make<TStatusBar>();
  below->Align = alNone;
  below->SetBounds(0, 240, 300, 19);
  EXPECT_EQ(below->Top, 240);
  form->ClientHeight = 259;
  EXPECT_EQ(below->Top, 240);
  EXPECT_EQ(bar->Top, 240);
}

TEST_F(Controls, CheckListBoxCheckedItems) {
  auto* list = Make<TCheckListBox>();
  list->Columns = 2;
  for (const char* s : {"4800", "9600", "14400"}) list->Items->Add(s);
  EXPECT_FALSE(list->Checked[0]);
  list->Checked[0] = true;
  list->Checked[2] = true;
  list->Checked[2] = false;
  EXPECT_TRUE(list->Checked[0]);
  EXPECT_FALSE(list->Checked[1]);
  EXPECT_FALSE(list->Checked[2]);
  EXPECT_THROW(list->Checked[3] = true, EListError);
  EXPECT_THROW(list->GetChecked(-1), EListError);
}

TEST_F(Controls, VisibilityEnabledAndParentChanges) {
  auto* panel = Make<TPanel>();
  auto* btn = Make<TButton>(panel);
  btn->SetBounds(5, 6, 70, 25);
  form->Show();
  vcltest::ProcessEvents();
  EXPECT_TRUE(btn->Widget()->isVisible());
  panel->Visible = false;
  EXPECT_TRUE(btn->Visible);
  EXPECT_FALSE(btn->Widget()->isVisible());
  btn->Enabled = false;
  EXPECT_FALSE(btn->Widget()->isEnabled());
  btn->Parent = form.get();
  EXPECT_EQ(btn->Widget()->parentWidget(), form->Widget());
  EXPECT_EQ(btn->Widget()->geometry(), QRect(5, 6, 70, 25));
  EXPECT_EQ(panel->ControlCount(), 0);
  // Deleting a parent deletes its children.
  Make<TLabel>(panel);
  EXPECT_EQ(form->ComponentCount(), 3);
  delete panel;
  EXPECT_EQ(form->ComponentCount(), 1);
  EXPECT_EQ(form->Components(0), btn);
}

TEST_F(Controls, HintsShowOnlyWithShowHint) {
  auto* btn = Make<TButton>();
  btn->Hint = "Tracking test first, and then Acq test";
  EXPECT_TRUE(btn->Widget()->toolTip().isEmpty());
  btn->ShowHint = true;
  EXPECT_EQ(btn->Widget()->toolTip(), QStringLiteral("Tracking test first, and then Acq test"));
  auto* child = Make<TButton>();
  child->Hint = "h";
  form->ShowHint = true;
  EXPECT_EQ(child->Widget()->toolTip(), QStringLiteral("h"));
  // The signal chart's hint carries CJK brackets (UTF-8 in the layout); other bytes stay Latin-1.
  child->Hint =
      "\xE3\x80\x8E"
      "Double Click\xE3\x80\x8F";
  EXPECT_EQ(child->Widget()->toolTip(), QString::fromUtf8(u8"\u300EDouble Click\u300F"));
  child->Hint = "25\xB0";
  EXPECT_EQ(child->Widget()->toolTip(), QString::fromLatin1("25\xB0"));
}

}  // namespace
