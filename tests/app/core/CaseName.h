// Names the rows of a table-driven test after their `name` field.
#pragma once

#include <string>

#include <gtest/gtest.h>

namespace ormaline::test {

struct CaseName {
    template <class Case> std::string operator()(const testing::TestParamInfo<Case>& row) const {
        return row.param.name;
    }
};

} // namespace ormaline::test
