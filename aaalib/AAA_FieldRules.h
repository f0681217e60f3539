#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "aaalib/AAA_Verify.h"

// What a format's table says of one field besides its name and width, stated
// where the field is declared:
//
//   AAA::Field::BE One{"'1'", 1, AAA_RULES(AAA_FIXED(1))};
//   AAA::Field::BE Rate{"Rate", 4, AAA_RULES(AAA_ALLOWED(Rate, (Rate == 1) || (Rate == 4)), AAA_INITIAL(1))};
//
//   AAA_FIXED(value)          every file holds it: checked strictly when read, written by Update
//   AAA_ALLOWED(name, cond)   checked strictly when read; `name` stands for the field in `cond`
//   AAA_REPORTED(name, cond)  reported when read, the file is still read on
//   AAA_INITIAL(value)        what Initialize gives a new file
//   AAA_MEASURES(length, text)  the field holds a length of its block: checked once the block is
//                             read and written by Update, both after every other field
//
// The rule texts are the conditions and values as written, with the file and
// line of the declaration, as for the verification macros. One set of rules
// is made for each declaration and shared by every instance of its block.

namespace AAA {

class Block;

class FieldRules {
 public:
  struct Fixed {
    Expected value;
    Rule rule;
  };
  struct Condition {
    bool (*holds)(const FieldBase& field);
    Rule rule;
    bool strict;
  };
  struct Measure {
    std::uint32_t (*length)(const Block& owner, const FieldBase& field);
    Rule rule;
  };
  struct Initial {
    Expected value;
  };

  template <class... Parts>
  explicit FieldRules(Parts... parts) {
    (Take(std::move(parts)), ...);
  }

  // The fixed value and the conditions, as the field has just been read.
  void CheckRead(const FieldBase& field) const;
  bool MeasuresLength() const { return measure_.has_value(); }
  void CheckLength(const Block& owner, const FieldBase& field) const;
  void WriteFixed(FieldBase& field) const;
  void WriteLength(const Block& owner, FieldBase& field) const;
  void WriteInitial(FieldBase& field) const;

 private:
  void Take(Fixed part) { fixed_ = std::move(part); }
  void Take(Condition part) { conditions_.push_back(part); }
  void Take(Measure part) { measure_ = part; }
  void Take(Initial part) { initial_ = std::move(part.value); }

  std::optional<Fixed> fixed_;
  std::vector<Condition> conditions_;
  std::optional<Measure> measure_;
  std::optional<Expected> initial_;
};

}  // namespace AAA

#define AAA_RULES(...)                                         \
  ([]() -> const ::AAA::FieldRules* {                          \
    static const ::AAA::FieldRules declaredRules{__VA_ARGS__}; \
    return &declaredRules;                                     \
  }())
#define AAA_FIXED(value) (::AAA::FieldRules::Fixed{::AAA::ExpectedOf(value), AAA_RULE(#value)})
// `name` is the lambda's parameter, so that the condition reads as written.
#define AAA_FIELD_CONDITION(name, condition, text, strict)                                                 \
  (::AAA::FieldRules::Condition{[](const ::AAA::FieldBase& name) { return static_cast<bool>(condition); }, \
                                AAA_RULE(text), strict})
#define AAA_ALLOWED(name, condition) AAA_FIELD_CONDITION(name, condition, #condition, true)
#define AAA_REPORTED(name, condition) AAA_FIELD_CONDITION(name, condition, #condition, false)
#define AAA_INITIAL(value) (::AAA::FieldRules::Initial{::AAA::ExpectedOf(value)})
#define AAA_MEASURES(length, text) (::AAA::FieldRules::Measure{(length), AAA_RULE(text)})
