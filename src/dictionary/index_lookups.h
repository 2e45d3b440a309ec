// Index questions of the data dictionary that the split runs ask: the fields
// of an index, the ordered children of a combined field, whether a field is
// combined, and index references such as INDEX3.
#ifndef MX_DICTIONARY_INDEX_LOOKUPS_H_
#define MX_DICTIONARY_INDEX_LOOKUPS_H_
#endif  // MX_DICTIONARY_INDEX_LOOKUPS_H_
