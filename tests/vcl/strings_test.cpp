// One behaviour table for every string list: the plain list, combo box items, memo lines and
// check list box items.
#include <QComboBox>
#include <QPlainTextEdit>
#include <functional>
#include <memory>

#include "tests/vcl/vcl_test_support.h"

namespace {

using namespace platform;

struct ListKind {
  const char* name;
  std::function<TStrings*(TForm*)> make;
  bool standalone = false;  // not owned by a control on the form
};

class StringLists : public vcltest::VclTest, public ::testing::WithParamInterface<ListKind> {
 protected:
  void SetUp() override {
    VclTest::SetUp();
    form_ = std::make_unique<TForm>(nullptr);
    list_ = GetParam().make(form_.get());
  }
  void TearDown() override {
    if (GetParam().standalone) delete list_;
    form_.reset();
    VclTest::TearDown();
  }
  std::unique_ptr<TForm> form_;
  TStrings* list_ = nullptr;
};

std::vector<std::string> All(const TStrings& s) {
  std::vector<std::string> out;
  for (int i = 0; i < s.Count(); ++i) out.push_back(s.Get(i));
  return out;
}

TEST_P(StringLists, AddInsertDeleteAndIndexOf) {
  TStrings& s = *list_;
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.Add("COM1"), 0);
  EXPECT_EQ(s.Add("COM2"), 1);
  s.Insert(0, "first");
  s.Insert(3, "last");
  EXPECT_EQ(All(s), (std::vector<std::string>{"first", "COM1", "COM2", "last"}));
  EXPECT_EQ(s.IndexOf("com2"), 2);
  EXPECT_EQ(s.IndexOf("COM"), -1);
  s.Strings[1] = "changed";
  EXPECT_EQ(s.Strings[1], "changed");
  EXPECT_EQ(s[1](), "changed");
  s.Delete(3);
  s.Delete(0);
  EXPECT_EQ(All(s), (std::vector<std::string>{"changed", "COM2"}));
  s.Add("");
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(s.Get(2), "");
  s.Clear();
  EXPECT_EQ(s.Count(), 0);
  // One empty line is a line, and stays one when another follows.
  s.Add("");
  EXPECT_EQ(s.Count(), 1);
  s.Add("x");
  EXPECT_EQ(All(s), (std::vector<std::string>{"", "x"}));
  s.Delete(1);
  s.Delete(0);
  EXPECT_EQ(s.Count(), 0);
}

TEST_P(StringLists, IndexOutsideTheListRaises) {
  TStrings& s = *list_;
  s.Add("a");
  for (int bad : {-1, 1, 1000}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(s.Get(bad), EStringListError);
    EXPECT_THROW(s.Put(bad, "x"), EStringListError);
    EXPECT_THROW(s.Delete(bad), EStringListError);
  }
  EXPECT_THROW(s.Insert(2, "x"), EStringListError);
  EXPECT_THROW(s.Insert(-1, "x"), EStringListError);
  try {
    s.Get(7);
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (7)");
  }
  EXPECT_EQ(All(s), std::vector<std::string>{"a"});
}

TEST_P(StringLists, TextJoinsAndSplitsLines) {
  TStrings& s = *list_;
  s.Text = "one\r\ntwo\nthree\rfour";
  EXPECT_EQ(All(s), (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_EQ(s.Text, "one\r\ntwo\r\nthree\r\nfour\r\n");
  s.Text = "a\r\n\r\nb\r\n";
  EXPECT_EQ(All(s), (std::vector<std::string>{"a", "", "b"}));
  s.Text = "";
  EXPECT_EQ(s.Count(), 0);
  TStringList other;
  other.Add("x");
  other.Add("y");
  s.Assign(other);
  EXPECT_EQ(All(s), (std::vector<std::string>{"x", "y"}));
  s.AddStrings(s);
  EXPECT_EQ(All(s), (std::vector<std::string>{"x", "y", "x", "y"}));
}

TEST_P(StringLists, KeepsEightBitText) {
  TStrings& s = *list_;
  const std::string degree = "12\xB0 N <b>";
  s.Add(degree);
  EXPECT_EQ(s.Get(0), degree);
}

INSTANTIATE_TEST_SUITE_P(
    AllLists, StringLists,
    ::testing::Values(ListKind{"StringList", [](TForm*) -> TStrings* { return new TStringList; },
                               true},
                      ListKind{"ComboItems",
                               [](TForm* f) -> TStrings* {
                                 auto* c = new TComboBox(f);
                                 c->Parent = f;
                                 return c->Items;
                               }},
                      ListKind{"MemoLines",
                               [](TForm* f) -> TStrings* {
                                 auto* m = new TMemo(f);
                                 m->Parent = f;
                                 return m->Lines;
                               }},
                      ListKind{"CheckListItems",
                               [](TForm* f) -> TStrings* {
                                 auto* c = new TCheckListBox(f);
                                 c->Parent = f;
                                 return c->Items;
                               }}),
    [](const ::testing::TestParamInfo<ListKind>& i) { return std::string(i.param.name); });

}  // namespace
