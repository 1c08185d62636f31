#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sim/sim_state.h"

namespace velimoro {

/// A named field of SimState, for tools that show, trace or set state by name.
struct StateField {
  using Member = std::variant<int SimState::*, bool SimState::*, long double SimState::*,
                              Fixed SimState::*, std::string SimState::*>;
  std::string_view name;
  Member member;
};

/// Every scalar field of SimState, in declaration order.
const std::vector<StateField>& stateFields();

/// The field called `name`, if there is one.
const StateField* findStateField(std::string_view name);

/// The field's value as text: integers and flags as whole numbers, Fixed with four decimals,
/// long double with six, text as it stands.
std::string formatStateField(const SimState& s, const StateField& field);

/// Sets a numeric field (integer, flag, Fixed, long double) from text; false when the field is a
/// text or the value does not convert.
bool setStateField(SimState& s, const StateField& field, std::string_view value);

}  // namespace velimoro
