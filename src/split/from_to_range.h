// The script routines that a split legacy conversion program includes:
// GetFromToRange, which reads the from- and to-value of a source table from
// the program's dictionary objsplitdict (item: from-value "|" to-value), and
// RaiseError. The range code of the legacy class calls both.
#ifndef MX_SPLIT_FROM_TO_RANGE_H_
#define MX_SPLIT_FROM_TO_RANGE_H_

#include <string>

namespace mx::legacy {

// The fixed script text: it begins with CR LF, its lines are separated by
// CR LF and the last has none after it.
std::string GetFromToRange();

}  // namespace mx::legacy

#endif  // MX_SPLIT_FROM_TO_RANGE_H_
