// Small shared routines: the index sort, field lists, unique names, format separators,
// character replacement, enabling controls and the translation hook.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace platform {
class TComponent;
class TControl;
}  // namespace platform

namespace chart {

// compare(a, b) < 0 when the item at a belongs before the one at b; swap(a, b) exchanges them.
using TPlotCompareProc = std::function<int(int a, int b)>;
using TPlotSwapProc = std::function<void(int a, int b)>;
// Quicksorts the caller's items first..last, seen only through their indexes.
void PlotSort(int first, int last, const TPlotCompareProc& compare, const TPlotSwapProc& swap);

// Separator of field lists such as "a;b;c".
extern std::string PlotFieldsSeparator;
// 0 for an empty text, else one more than the separators in it.
int PlotNumFields(const std::string& text, const std::string& separator = PlotFieldsSeparator);
// The index-th field from 1; past the last field, the last; below 1 or an empty text, "".
std::string PlotExtractField(const std::string& text, int index,
                             const std::string& separator = PlotFieldsSeparator);

// Every oldChar replaced by newChar; a newChar of 0 deletes them.
std::string ReplaceChar(const std::string& text, char oldChar, char newChar);

// Number pictures are written with "," for thousands and "." for decimals; these turn them into
// the separators of PlotFormatSettings and back.
std::string FixedToLocalFormat(const std::string& format);
std::string LocalToFixedFormat(const std::string& format);

// startName + the smallest n from 1 that names no component of owner; startName + "1" without
// an owner. Names compare without case, as component names do.
std::string PlotGetUniqueName(const platform::TComponent* owner, const std::string& startName);
// The same over any set of names: nameTaken says whether a name is in use.
std::string PlotGetUniqueName(const std::function<bool(const std::string&)>& nameTaken,
                              const std::string& startName);

// Enabled of every non-null control.
void EnableControls(bool enable, std::initializer_list<platform::TControl*> controls);
void EnableControls(bool enable, const std::vector<platform::TControl*>& controls);

// Set by a translation package: translates a control's texts, leaving out the given controls.
using TPlotTranslateHook =
    std::function<void(platform::TControl* control, const std::vector<platform::TControl*>& skip)>;
extern TPlotTranslateHook PlotTranslateHook;
// Calls the hook when one is set; otherwise nothing.
void PlotTranslateControl(platform::TControl* control,
                          const std::vector<platform::TControl*>& skip = {});

}  // namespace chart
