// The synthetic profile, object by object. Codes:
//   target table  tb + m<NN> + <NNN>   (object i: NN = i / 1000, NNN = i %
//   1000) source table  sb + the same module and number M-script parents tb +
//   grp + <NNN>, members the last objects of the range
// Target fields f001 ..., a combined key field fkey (children f001, f002),
// source fields s001 ...; domains tb/sb + d<NNN>; enumeration constants c<NN>.
#include "bench/synthetic_repository.h"

#include <random>
#include <string>
#include <vector>

#include "bench/bulk_writer.h"
#include "bench/synthetic_objects.h"

namespace mx::bench {

namespace {

constexpr char kCrLf[] = "\r\n";

// A domain of one application: code (cpac + cdom as the fields name it) and
// data type.
struct Domain {
  std::string cpac, cdom, type;
  std::string Code() const { return cpac + cdom; }
};

class Generator {
 public:
  Generator(BulkWriter& db, const RepositoryShape& shape)
      : db_(db), shape_(shape), random_(shape.seed) {}

  void Run();

 private:
  int Pick(int n) {
    return static_cast<int>(random_() % static_cast<uint64_t>(n));
  }
  bool Chance(int percent) { return Pick(100) < percent; }

  void WriteProfile();
  void WriteDomains();
  void WriteObject(int i);
  void WriteTargetTable(int i);
  void WriteSourceTable(int i);
  void WriteMapping(int i, const std::string& cpac, const std::string& cmod,
                    const std::string& flno, bool mscript_member);
  void WriteMainQuery(const std::string& cpac, const std::string& cmod,
                      const std::string& flno, const std::string& source);
  void WriteRules(int i);
  std::string RuleFor(int i, int field);
  std::string Lengthened(const std::string& text,
                         const std::string& statements) const;
  void WriteMScriptGroups();

  static std::string SourceTable(int i) {
    return "sb" + ObjectModule(i) + ObjectNumber(i);
  }
  static std::string FieldName(int j) { return "f" + Digits(j, 3); }
  static std::string SourceFieldName(int j) { return "s" + Digits(j, 3); }
  bool IsMScriptMember(int i) const {
    return bench::IsMScriptMember(shape_, i);
  }

  BulkWriter& db_;
  const RepositoryShape shape_;
  std::mt19937_64 random_;
  std::vector<Domain> target_domains_, source_domains_, enum_domains_;
  // Per object, the domain of each target field (index 0 = field 1).
  std::vector<int> field_domains_;
};

void Generator::Run() {
  WriteProfile();
  WriteDomains();
  for (int i = 0; i < shape_.objects; ++i) WriteObject(i);
  WriteMScriptGroups();
}

void Generator::WriteProfile() {
  db_.Insert("qxmap100",
             "mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, scme",
             {int64_t{kProfile}, "SRC", "TRG", kVers, kRele, kCust, "", "", "",
              int64_t{1}, "N"});
}

void Generator::WriteDomains() {
  static const char* kTypes[] = {"S", "S", "S", "M", "I",
                                 "L", "D", "K", "E", "S"};
  const int half = shape_.domains / 2 > 0 ? shape_.domains / 2 : 1;
  for (int side = 0; side < 2; ++side) {
    const std::string appl = side == 0 ? "TRG" : "SRC";
    const std::string cpac = side == 0 ? "tb" : "sb";
    for (int d = 0; d < half; ++d) {
      Domain domain{cpac, "d" + Digits(d, 3), kTypes[d % 10]};
      const bool numeric =
          domain.type == "I" || domain.type == "L" || domain.type == "D";
      db_.Insert("qxddi220",
                 "appl, cpac, cdom, type, leng, diga, digb, adju, conv",
                 {appl, domain.cpac, domain.cdom, domain.type,
                  std::to_string(4 + d % 40),
                  numeric ? Value(std::string("2")) : Value(),
                  numeric ? Value(std::string("9")) : Value(),
                  d % 3 == 0   ? Value(std::string("Left"))
                  : d % 3 == 1 ? Value(std::string("Right"))
                               : Value(),
                  d % 4 == 0 ? Value(std::string("Upper")) : Value()});
      if (side == 0 && domain.type == "E") {
        for (int c = 0; c < shape_.enum_constants; ++c) {
          db_.Insert("qxddi230", "appl, cpac, cdom, ctnm, cnst",
                     {appl, domain.cpac, domain.cdom, "c" + Digits(c, 2),
                      std::to_string(c + 1)});
        }
        enum_domains_.push_back(domain);
      }
      (side == 0 ? target_domains_ : source_domains_).push_back(domain);
    }
  }
}

void Generator::WriteObject(int i) {
  db_.Insert("qxddi140", "appl, cpac, cmod, flno",
             {"TRG", "tb", ObjectModule(i), ObjectNumber(i)});
  WriteTargetTable(i);
  WriteSourceTable(i);
  WriteMapping(i, "tb", ObjectModule(i), ObjectNumber(i), IsMScriptMember(i));
  if (!IsMScriptMember(i)) {
    WriteMainQuery("tb", ObjectModule(i), ObjectNumber(i), SourceTable(i));
  }
  WriteRules(i);
}

void Generator::WriteTargetTable(int i) {
  field_domains_.clear();
  const std::string cmod = ObjectModule(i), flno = ObjectNumber(i);
  for (int j = 1; j <= shape_.fields; ++j) {
    const int domain = Pick(static_cast<int>(target_domains_.size()));
    field_domains_.push_back(domain);
    const bool array = j % 17 == 0;
    db_.Insert(
        "qxddi150",
        "appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb",
        {"TRG", "tb", cmod, flno, FieldName(j), int64_t{j},
         target_domains_[domain].Code(),
         j % 5 == 0 ? Value(std::to_string(j)) : Value(),
         int64_t{array ? 3 : 0}, j == 1 ? "Y" : "N", "N"});
  }
  db_.Insert("qxddi150",
             "appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb",
             {"TRG", "tb", cmod, flno, "fkey", int64_t{shape_.fields + 1},
              target_domains_[0].Code(), Value(), int64_t{0}, "N", "Y"});
  for (int child = 1; child <= 2 && child <= shape_.fields; ++child) {
    db_.Insert(
        "qxddi160", "appl, cpac, cmod, flno, fdnm, chld, sern",
        {"TRG", "tb", cmod, flno, "fkey", FieldName(child), int64_t{child}});
  }
  db_.Insert("qxddi200", "appl, cpac, cmod, flno, indn, dupl, acti, prt1",
             {"TRG", "tb", cmod, flno, int64_t{1}, "N", "Y", FieldName(1)});
  db_.Insert("qxddi200", "appl, cpac, cmod, flno, indn, dupl, acti, prt1, prt2",
             {"TRG", "tb", cmod, flno, int64_t{2}, "Y", "Y", "fkey",
              FieldName(shape_.fields > 1 ? 2 : 1)});
}

void Generator::WriteSourceTable(int i) {
  const std::string cmod = ObjectModule(i), flno = ObjectNumber(i);
  for (int j = 1; j <= shape_.fields; ++j) {
    const Domain& domain =
        source_domains_[Pick(static_cast<int>(source_domains_.size()))];
    db_.Insert(
        "qxddi150",
        "appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb",
        {"SRC", "sb", cmod, flno, SourceFieldName(j), int64_t{j}, domain.Code(),
         Value(), int64_t{0}, "N", "N"});
  }
  db_.Insert(
      "qxddi200", "appl, cpac, cmod, flno, indn, dupl, acti, prt1",
      {"SRC", "sb", cmod, flno, int64_t{1}, "N", "Y", SourceFieldName(1)});
}

// `text` after `statements` repeated up to the shape's long-text size.
std::string Generator::Lengthened(const std::string& text,
                                  const std::string& statements) const {
  const auto size = static_cast<size_t>(shape_.long_text_bytes);
  std::string longer;
  longer.reserve(size + statements.size() + text.size());
  while (longer.size() < size) longer += statements;
  return longer + text;
}

void Generator::WriteMapping(int i, const std::string& cpac,
                             const std::string& cmod, const std::string& flno,
                             bool mscript_member) {
  const std::string source = SourceTable(i);
  std::string pre_conditions = std::string("cnt = empty()") + kCrLf +
                               "| only rows with amount < 1000 & active" +
                               kCrLf + "select " + source + ".* from " +
                               source + kCrLf + "selectdo" + kCrLf +
                               "  migrate" + kCrLf + "endselect";
  if (i == 0 && shape_.long_text_bytes > 0) {
    pre_conditions = Lengthened(
        pre_conditions, std::string("cnt = empty()") + kCrLf +
                            "note = \"a <long> & 'quoted' text\"" + kCrLf);
  }
  db_.Insert(
      "qxmap120",
      "mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, "
      "stbl, isms, vari",
      {int64_t{kProfile}, kVers, kRele, kCust, cpac, cmod, flno, "V",
       mscript_member ? std::string("") : pre_conditions,
       "Object " + std::to_string(i), source, int64_t{mscript_member ? 1 : 0},
       mscript_member
           ? Value()
           : Value(std::string("#include <bic_global>~^~long cnt~^~"
                               "string note(40)~^~domain sbd000 last"))});
  if (i % 4 == 0 && !mscript_member) {
    db_.Insert("qxmap160", "mprf, vers, rele, cust, tcpac, tcmod, tflno, func",
               {int64_t{kProfile}, kVers, kRele, kCust, cpac, cmod, flno,
                std::string("function extern long valid.") + FieldName(1) +
                    "(double p)" + kCrLf + "{" + kCrLf +
                    "  return(p > 0 & p < 1000)" + kCrLf + "}"});
  }
}

void Generator::WriteMainQuery(const std::string& cpac, const std::string& cmod,
                               const std::string& flno,
                               const std::string& source) {
  static const char* kCodes[] = {"S", "D", "E", "O", "F", "X"};
  const std::string s_cmod = source.substr(2, 3), s_flno = source.substr(5);
  for (int s = 0; s < shape_.sections && s < 6; ++s) {
    const std::string code = kCodes[s];
    std::string text;
    if (code == "S") {
      text = "select " + source + ".*" + kCrLf + "from " + source + kCrLf +
             "where " + source + ".s001 <> \" \" and " + source +
             ".s002 < 1000";
    } else if (code == "D") {
      text = "cnt = cnt + 1";
    } else if (code == "X") {
      text = "endselect";
    } else {
      text = "message(\"section " + code + " of " + source + "\")";
    }
    db_.Insert("qxmap130",
               "mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, "
               "sflno, icod, qury",
               {int64_t{kProfile}, kVers, kRele, kCust, cpac, cmod, flno, "sb",
                s_cmod, s_flno, code, text});
  }
}

// A type-0 rule for a field: mostly a source-field reference; some are
// target(...) constants (enumeration fields), empty(), literals or carry a
// comment after a vertical bar.
std::string Generator::RuleFor(int i, int field) {
  const Domain& domain = target_domains_[field_domains_[field - 1]];
  const std::string source = SourceTable(i);
  if (Chance(shape_.special_rule_percent)) {
    if (domain.type == "E" && !enum_domains_.empty()) {
      return "target(" + domain.Code() + ".c" +
             Digits(Pick(shape_.enum_constants), 2) + ")";
    }
    return Chance(50) ? "empty()" : "\"fixed " + std::to_string(field) + "\"";
  }
  std::string rule = source + "." + SourceFieldName(1 + Pick(shape_.fields));
  if (Chance(10)) rule += " | from the source";
  return rule;
}

void Generator::WriteRules(int i) {
  const std::string cmod = ObjectModule(i), flno = ObjectNumber(i);
  constexpr int kTypeOneField = 3;
  for (int dump = 1; dump <= shape_.dumps; ++dump) {
    // Type-1 rules use the object's declared variables; M-script members
    // declare none. A field has one rule per dump.
    const bool long_rule = i == 0 && dump == 1 && shape_.long_text_bytes > 0;
    const bool type_one = !IsMScriptMember(i) &&
                          shape_.fields >= kTypeOneField &&
                          (Chance(shape_.special_rule_percent) || long_rule);
    for (int j = 1; j <= shape_.fields; ++j) {
      const bool array = j % 17 == 0;
      std::string rule = RuleFor(i, j);
      int64_t type = 0;
      if (type_one && j == kTypeOneField) {
        rule = std::string("last = empty()") + kCrLf + "cnt = cnt + 1" + kCrLf +
               FieldName(j) + " = " + SourceTable(i) + "." + SourceFieldName(j);
        if (long_rule) {
          rule = Lengthened(rule, std::string("last = empty()") + kCrLf +
                                      "cnt = cnt + 1" + kCrLf);
        }
        type = 1;
      }
      db_.Insert("qxmap140",
                 "mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, "
                 "type, dnum",
                 {int64_t{kProfile}, kVers, kRele, kCust, "tb", cmod, flno,
                  array ? FieldName(j) + "(1)" : FieldName(j), rule, type,
                  int64_t{dump}});
    }
  }
}

// Groups of three: the last objects of the range are M-script members under
// the parents tbgrp000, tbgrp001, ...
void Generator::WriteMScriptGroups() {
  bench::WriteMScriptGroups(
      db_, shape_, [&](const std::string& flno, int first) {
        db_.Insert(
            "qxmap120",
            "mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, "
            "stbl, isms, vari",
            {int64_t{kProfile}, kVers, kRele, kCust, "tb", "grp", flno, "V", "",
             "Group " + flno, SourceTable(first), int64_t{0}, "long cnt"});
        WriteMainQuery("tb", "grp", flno, SourceTable(first));
      });
}

}  // namespace

void WriteSyntheticRepository(const std::string& path,
                              const RepositoryShape& shape) {
  BulkWriter db(path);
  Generator(db, shape).Run();
  db.Finish();
}

}  // namespace mx::bench
