// The JSON document of planimove-render: the edition, every field of the state
// record, the loop classification, the registers that are set, the picture and
// the script errors of the last command, and the lines of the values panel.
#pragma once

#include <nlohmann/json.hpp>

#include "draw/display_list.h"
#include "shell/form1.h"

namespace pm::render {

// The character that names register index k (k + 48 as a Unicode character), in UTF-8.
std::string registerName(int index);

nlohmann::json stateJson(const Form1& form, const DisplayList& picture);

}  // namespace pm::render
