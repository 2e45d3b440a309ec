// The synthetic legacy profile, object by object. Codes:
//   target table   tb + m<NN> + <NNN> of LTRG (object i: NN = i / 1000,
//                  NNN = i % 1000), fields F001 ...
//   source         sb + the same module and number of LSRC: object i % 3 ==
//                  0 reads sb...txt (comma-separated), 1 sb...txt (fixed
//                  length), 2 the foreign table sb...; fields S001 ...,
//                  every seventh with a "$" (S007$)
//   M-script       parents tb + grp + <NNN>, members the last objects
#include "bench/synthetic_legacy_repository.h"

#include <random>
#include <string>
#include <vector>

#include "bench/bulk_writer.h"
#include "bench/synthetic_objects.h"

namespace mx::bench {

namespace {

constexpr char kCrLf[] = "\r\n";
constexpr char kSource[] = "LSRC";
constexpr char kTarget[] = "LTRG";
constexpr char kLibraryFunction[] = "lib_trim";
constexpr int kCodeTables = 20;
constexpr int kCodesPerTable = 10;

// The type codes of legacy fields, every one of the Schema.ini type words.
constexpr const char* kTypes[] = {"U", "U", "L", "D", "T",
                                  "I", "S", "C", "B", "A"};

enum class SourceKind { kDelimitedFile, kFixedFile, kTable };

class LegacyGenerator {
 public:
  LegacyGenerator(BulkWriter& db, const RepositoryShape& shape)
      : db_(db), shape_(shape), random_(shape.seed) {}

  void Run() {
    WriteProfile();
    for (int i = 0; i < shape_.objects; ++i) WriteObject(i);
    WriteMScriptGroups();
  }

 private:
  int Pick(int n) {
    return static_cast<int>(random_() % static_cast<uint64_t>(n));
  }
  bool Chance(int percent) { return Pick(100) < percent; }

  static SourceKind KindOf(int i) { return static_cast<SourceKind>(i % 3); }
  // The qualifier of the source's fields: the file's base name or the
  // table's name.
  static std::string Qualifier(int i) {
    return "sb" + ObjectModule(i) + ObjectNumber(i);
  }
  // The source as the mapping names it (flno).
  static std::string SourceName(int i) {
    return KindOf(i) == SourceKind::kTable ? Qualifier(i)
                                           : Qualifier(i) + ".txt";
  }
  static std::string SourceField(int j) {
    return "S" + Digits(j, 3) + (j % 7 == 0 ? "$" : "");
  }
  static std::string TargetField(int j) { return "F" + Digits(j, 3); }
  bool IsMScriptMember(int i) const {
    return bench::IsMScriptMember(shape_, i);
  }

  void WriteProfile();
  void WriteObject(int i);
  void WriteTarget(int i);
  void WriteSource(int i);
  void WriteMapping(int i);
  void WriteMainQuery(const std::string& cmod, const std::string& flno, int i);
  void WriteRules(int i);
  std::string RuleFor(int i);
  void WriteMScriptGroups();

  BulkWriter& db_;
  const RepositoryShape shape_;
  std::mt19937_64 random_;
};

void LegacyGenerator::WriteProfile() {
  db_.Insert("qxmap100",
             "mprf, sapp, tapp, vers, rele, cust, verf, relf, cusf, deph, "
             "scme, apln",
             {int64_t{kProfile}, kSource, kTarget, kVers, kRele, kCust, "", "",
              "", int64_t{1}, "N", "LOOK"});
  db_.Insert("qxddi101", "appl, sour, logn, pswd",
             {"LOOK", "lookup_dsn", "reader", "secret"});
  db_.Insert("qxlib100", "mprf, vers, rele, cust, fnam, fdef",
             {int64_t{kProfile}, kVers, kRele, kCust, kLibraryFunction,
              std::string("function lib_trim(v)") + kCrLf +
                  "  lib_trim = trim(v)" + kCrLf + "end function"});
  for (int t = 0; t < kCodeTables; ++t) {
    for (int c = 0; c < kCodesPerTable; ++c) {
      db_.Insert("qxlgy115", "code, ival, oval",
                 {"CODE" + Digits(t, 2), Digits(c, 2),
                  "value " + std::to_string(c) + (c == 3 ? " & more" : "")});
    }
  }
}

void LegacyGenerator::WriteObject(int i) {
  WriteTarget(i);
  WriteSource(i);
  WriteMapping(i);
  if (!IsMScriptMember(i)) WriteMainQuery(ObjectModule(i), ObjectNumber(i), i);
  WriteRules(i);
}

void LegacyGenerator::WriteTarget(int i) {
  const std::string cmod = ObjectModule(i), flno = ObjectNumber(i);
  db_.Insert("qxlgy140", "appl, cpac, cmod, flno", {kTarget, "tb", cmod, flno});
  for (int j = 1; j <= shape_.fields; ++j) {
    db_.Insert("qxlgy150",
               "appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos",
               {kTarget, "tb", cmod, flno, TargetField(j), int64_t{j},
                kTypes[j % 10], int64_t{1 + (j - 1) * 12}, int64_t{j * 12}});
  }
}

void LegacyGenerator::WriteSource(int i) {
  const SourceKind kind = KindOf(i);
  const std::string name = SourceName(i);
  const std::string cmod = kind == SourceKind::kTable ? "tbl" : "fil";
  if (kind == SourceKind::kTable) {
    db_.Insert("qxlgy140", "appl, cpac, cmod, flno, sour, logn, pswd",
               {kSource, "qx", "tbl", name, "legacy_dsn", "reader", "secret"});
  } else {
    const bool delimited = kind == SourceKind::kDelimitedFile;
    db_.Insert(
        "qxlgy141", "appl, cpac, cmod, flno, sepr, tcol, nskp",
        {kSource, "qx", "fil", name,
         delimited ? Value(std::string(",")) : Value(),
         delimited ? Value(int64_t{1}) : Value(), int64_t{delimited ? 1 : 0}});
  }
  const bool fixed = kind == SourceKind::kFixedFile;
  for (int j = 1; j <= shape_.fields; ++j) {
    db_.Insert("qxlgy150",
               "appl, cpac, cmod, flno, flna, seqn, dtyp, spos, epos",
               {kSource, "qx", cmod, name, SourceField(j), int64_t{j},
                kTypes[(j + i) % 10],
                fixed ? Value(int64_t{1 + (j - 1) * 10}) : Value(),
                fixed ? Value(int64_t{1 + j * 10}) : Value()});
  }
}

void LegacyGenerator::WriteMapping(int i) {
  const bool member = IsMScriptMember(i);
  const std::string q = Qualifier(i);
  std::string vari = std::string("dim cnt") + kCrLf + "dim last";
  if (i % 50 == 0) {
    vari = "#include <" + std::string(kLibraryFunction) + ">" + kCrLf + vari;
  }
  db_.Insert("qxmap120",
             "mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, comt, "
             "stbl, isms, vari",
             {int64_t{kProfile}, kVers, kRele, kCust, "tb", ObjectModule(i),
              ObjectNumber(i), "V",
              member ? std::string("")
                     : std::string("cnt = empty()") + kCrLf + "migrate " +
                           SourceName(i),
              "Object " + std::to_string(i), SourceName(i),
              int64_t{member ? 1 : 0}, member ? Value() : Value(vari)});
  if (i % 4 == 0 && !member) {
    db_.Insert("qxmap160", "mprf, vers, rele, cust, tcpac, tcmod, tflno, func",
               {int64_t{kProfile}, kVers, kRele, kCust, "tb", ObjectModule(i),
                ObjectNumber(i),
                std::string("function valid_amount(v)") + kCrLf +
                    "  valid_amount = (" + q + ".S002 > 0 and v < 1000)" +
                    kCrLf + "end function"});
  }
}

// The select text asks for translation: "select *" over a file, a
// qualifier's "*" and a plain item (aliased) over a table; the where clause
// names source fields, one inside a string literal that stays as it is.
void LegacyGenerator::WriteMainQuery(const std::string& cmod,
                                     const std::string& flno, int i) {
  static const char* kCodes[] = {"S", "D", "E", "O", "F", "X"};
  const std::string q = Qualifier(i), source = SourceName(i);
  const std::string scmod = KindOf(i) == SourceKind::kTable ? "tbl" : "fil";
  for (int s = 0; s < shape_.sections && s < 6; ++s) {
    const std::string code = kCodes[s];
    std::string text;
    if (code == "S") {
      text =
          KindOf(i) == SourceKind::kTable
              ? "select " + q + ".*, " + q + ".S001 from " + source +
                    " where " + q + ".S002 > 0 and " + q +
                    ".S003 <> \"a.b\" order by " + q + ".S001"
              : "select * from " + source + " where " + q + ".S002 <> \"x.y\"";
    } else if (code == "D") {
      text = "cnt = cnt + 1" + std::string(kCrLf) + "last = " + q + ".S001";
    } else if (code == "X") {
      text = "endselect";
    } else {
      text = "message(\"section " + code + " of " + q + "\")";
    }
    db_.Insert("qxmap130",
               "mprf, vers, rele, cust, tcpac, tcmod, tflno, scpac, scmod, "
               "sflno, icod, qury",
               {int64_t{kProfile}, kVers, kRele, kCust, "tb", cmod, flno, "qx",
                scmod, source, code, text});
  }
}

// A type-0 rule: mostly a source field; some a conversion code, a literal
// or a field after the include's function.
std::string LegacyGenerator::RuleFor(int i) {
  const std::string field =
      Qualifier(i) + "." + SourceField(1 + Pick(shape_.fields));
  if (!Chance(shape_.special_rule_percent)) return field;
  switch (Pick(3)) {
    case 0:
      return "get.code.CODE" + Digits(Pick(kCodeTables), 2) + "(" + field + ")";
    case 1:
      return "\"fixed " + std::to_string(Pick(100)) + "\"";
    default:
      return "trim(" + field + ")";
  }
}

void LegacyGenerator::WriteRules(int i) {
  const std::string cmod = ObjectModule(i), flno = ObjectNumber(i);
  constexpr int kTypeOneField = 3;
  for (int dump = 1; dump <= shape_.dumps; ++dump) {
    // Type-1 rules use the object's declared variables; M-script members
    // declare none.
    const bool type_one = !IsMScriptMember(i) &&
                          shape_.fields >= kTypeOneField &&
                          Chance(shape_.special_rule_percent);
    for (int j = 1; j <= shape_.fields; ++j) {
      std::string rule = RuleFor(i);
      int64_t type = 0;
      if (type_one && j == kTypeOneField) {
        rule = std::string("last = empty()") + kCrLf + "cnt = cnt + 1" + kCrLf +
               TargetField(j) + " = " + Qualifier(i) + "." + SourceField(j);
        type = 1;
      }
      db_.Insert("qxmap140",
                 "mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, "
                 "type, dnum",
                 {int64_t{kProfile}, kVers, kRele, kCust, "tb", cmod, flno,
                  TargetField(j), rule, type, int64_t{dump}});
    }
  }
}

// Groups of three: the last objects of the range are M-script members under
// the parents tbgrp000, tbgrp001, ...; a group reads its first member's
// source.
void LegacyGenerator::WriteMScriptGroups() {
  bench::WriteMScriptGroups(
      db_, shape_, [&](const std::string& flno, int first) {
        db_.Insert(
            "qxmap120",
            "mprf, vers, rele, cust, tcpac, tcmod, tflno, stat, prtx, "
            "comt, stbl, isms, vari",
            {int64_t{kProfile}, kVers, kRele, kCust, "tb", "grp", flno, "V",
             "migrate " + SourceName(first), "Group " + flno, SourceName(first),
             int64_t{0}, std::string("dim cnt") + kCrLf + "dim last"});
        WriteMainQuery("grp", flno, first);
      });
}

}  // namespace

void WriteSyntheticLegacyRepository(const std::string& path,
                                    const RepositoryShape& shape) {
  BulkWriter db(path);
  LegacyGenerator(db, shape).Run();
  db.Finish();
}

}  // namespace mx::bench
