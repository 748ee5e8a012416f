#pragma once

namespace zx {

// Summer/winter changeover rules (SwRegel).
enum ChangeoverRule : int {
    RuleNoChangeover = 0,
    RuleEurope = 1, // last Sunday in March .. last Sunday in October
    RuleUK = 2,     // last Sunday in March .. Sunday between 22 and 28 October
    RuleUSA = 3,    // Sunday between 8 and 14 April .. last Sunday in October
    RuleTable = 4,  // the dates of the changeover table
};
constexpr int ChangeoverRuleCount = 5;

} // namespace zx
