#include "aaalib/AAA_FieldRules.h"

namespace AAA {

void FieldRules::CheckRead(const FieldBase& field) const {
  if (fixed_) VerifyEqual(field, fixed_->value, fixed_->rule);
  for (const Condition& condition : conditions_) {
    if (condition.holds(field)) continue;
    if (condition.strict) {
      Verify(field, false, condition.rule);
    } else {
      ReportFailure(field, condition.rule);
    }
  }
}

void FieldRules::CheckLength(const Block& owner, const FieldBase& field) const {
  if (measure_) VerifyEqual(field, measure_->length(owner, field), measure_->rule);
}

void FieldRules::WriteFixed(FieldBase& field) const {
  if (fixed_) SetExpected(field, fixed_->value);
}

void FieldRules::WriteLength(const Block& owner, FieldBase& field) const {
  if (measure_) field.SetValue(measure_->length(owner, field));
}

void FieldRules::WriteInitial(FieldBase& field) const {
  if (initial_) SetExpected(field, *initial_);
}

}  // namespace AAA
