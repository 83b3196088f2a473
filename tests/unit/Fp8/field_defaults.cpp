// The test program starts like TARV_Fp8: the field's start-up state (p = 101,
// tables filled) is set before any test runs.
#include <gtest/gtest.h>

#include "fields/field.h"

namespace {

struct FieldDefaults : ::testing::Environment {
    void SetUp() override { field_set_defaults(); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new FieldDefaults);

}  // namespace
