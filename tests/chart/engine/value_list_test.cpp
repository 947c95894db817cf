// Value lists: ordered insertion, statistics, growth, rotation, search, settings copy, and the
// index checks on every access.
#include "chart/engine/value_list.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/chart/engine/engine_fixture.h"

namespace enginetest {
namespace {

using chart::TChartValueList;

std::unique_ptr<TChartValueList> ListOf(chart::TChartListOrder order, std::vector<double> values) {
  auto list = std::make_unique<TChartValueList>(nullptr, "X");
  for (double v : values) list->InsertChartValue(list->Count(), v);
  list->SetOrder(order);
  return list;
}

std::vector<double> Values(const TChartValueList& list) {
  return std::vector<double>(list.Data(), list.Data() + list.Count());
}

TEST(ValueList, OrderedInsertion) {
  struct Case {
    chart::TChartListOrder order;
    std::vector<double> start;
    double add;
    int index;
    std::vector<double> after;
  };
  const Case cases[] = {
      {chart::loAscending, {1, 2, 2, 3}, 2, 3, {1, 2, 2, 2, 3}},
      {chart::loAscending, {1, 2, 2, 3}, 0, 0, {0, 1, 2, 2, 3}},
      {chart::loAscending, {1, 2, 2, 3}, 5, 4, {1, 2, 2, 3, 5}},
      {chart::loDescending, {5, 3}, 3, 2, {5, 3, 3}},
      {chart::loDescending, {5, 3}, 4, 1, {5, 4, 3}},
      {chart::loNone, {5, 3}, 4, 2, {5, 3, 4}},
      {chart::loAscending, {}, 7, 0, {7}},
  };
  for (const Case& c : cases) {
    auto list = ListOf(c.order, c.start);
    EXPECT_EQ(list->AddChartValue(c.add), c.index) << c.add;
    EXPECT_EQ(Values(*list), c.after) << c.add;
  }
}

TEST(ValueList, Statistics) {
  struct Case {
    std::vector<double> values;
    double min, max, total, totalAbs, range;
  };
  const Case cases[] = {
      {{}, 0, 0, 0, 0, 0}, {{-2, 3}, -2, 3, 1, 5, 5}, {{4, -1, 9, 2}, -1, 9, 14, 16, 10}};
  for (const Case& c : cases) {
    auto list = ListOf(chart::loNone, c.values);
    EXPECT_EQ(list->MinValue(), c.min);
    EXPECT_EQ(list->MaxValue(), c.max);
    EXPECT_EQ(list->Total(), c.total);
    EXPECT_EQ(list->TotalABS(), c.totalAbs);
    EXPECT_EQ(list->Range(), c.range);
  }
}

TEST(ValueList, GrowthScrollLocateAssign) {
  auto list = ListOf(chart::loAscending, {});
  for (int i = 0; i < 1000; ++i) list->AddChartValue(i);
  EXPECT_EQ(list->Capacity(), 1000);
  list->AddChartValue(1000);
  EXPECT_EQ(list->Capacity(), 2000);
  list->ClearValues();
  EXPECT_EQ(list->Capacity(), 0);

  auto three = ListOf(chart::loNone, {1, 2, 3});
  EXPECT_EQ(three->MaxValue(), 3);
  three->Scroll();
  EXPECT_EQ(Values(*three), (std::vector<double>{2, 3, 1}));
  EXPECT_FALSE(three->Modified());
  EXPECT_EQ(three->Locate(2.5), -1);
  EXPECT_EQ(three->Locate(1), 2);
  EXPECT_EQ(three->Locate(3, 0, 0), -1);

  auto other = ListOf(chart::loDescending, {9});
  other->SetDateTime(true);
  other->SetValueSource("Field");
  three->Assign(other.get());
  EXPECT_EQ(Values(*three), (std::vector<double>{2, 3, 1}));
  EXPECT_EQ(three->GetOrder(), chart::loDescending);
  EXPECT_TRUE(three->GetDateTime());
  EXPECT_EQ(three->GetValueSource(), "Field");
  EXPECT_EQ(three->GetName(), "X");

  three->SetOrder(chart::loAscending);
  three->Sort();
  EXPECT_EQ(Values(*three), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(three->ToString(0), "1");
  three->SetValue(0, 0.25);
  EXPECT_EQ(three->ToString(0), "0.25");
  three->SetValue(0, 1e20);
  EXPECT_EQ(three->ToString(0), "1E20");
}

TEST(ValueList, EveryIndexIsChecked) {
  auto empty = ListOf(chart::loNone, {});
  auto two = ListOf(chart::loNone, {1, 2});
  const std::vector<std::function<void()>> chartErrors = {
      [&] { empty->First(); },      [&] { empty->Last(); },
      [&] { two->GetValue(-1); },   [&] { two->GetValue(2); },
      [&] { two->SetValue(2, 0); }, [&] { two->Exchange(0, 2); },
      [&] { two->Delete(-1); },     [&] { two->Delete(2); },
      [&] { two->Delete(-1, 1); },  [&] { two->InsertChartValue(3, 0); },
  };
  for (size_t i = 0; i < chartErrors.size(); ++i)
    EXPECT_THROW(chartErrors[i](), chart::ChartException) << i;
  EXPECT_EQ(Values(*two), (std::vector<double>{1, 2}));

  EXPECT_EQ(MessageOf<chart::EAssertionFailed>([&] { two->Delete(1, 2); }),
            "Quantity of data to delete must be less than Count.");
  EXPECT_EQ(MessageOf<chart::EAssertionFailed>([&] { two->SetCount(-1); }),
            "ValueList Count must be greater than zero.");
  two->Delete(0, 2);
  EXPECT_EQ(two->Count(), 0);
}

}  // namespace
}  // namespace enginetest
