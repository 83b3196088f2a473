// The test program starts like TARV_QN: the field's start-up state (Q(zeta_5))
// is set before any test runs.
#include <gtest/gtest.h>

#include "fields/field.h"

namespace {

struct FieldDefaults : ::testing::Environment {
    void SetUp() override { field_set_defaults(); }
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new FieldDefaults);

}  // namespace
