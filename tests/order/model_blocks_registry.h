// The block registry over the model tests' block library, for the tests that make blocks
// and models in-process; the error and warning counts start at 0 in every test.
#ifndef VIREO_TEST_MODEL_BLOCKS_REGISTRY_H
#define VIREO_TEST_MODEL_BLOCKS_REGISTRY_H

#include "RootClass.h"
#include "run_vireo.h"
#include "vireoBlocks.h"
#include "vireoEngine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

class ModelBlocksRegistry : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::string none = vireo_test::scratchDirectory("no-user-blocks");
        setenv("VIREO_HOME", MODEL_BLOCKS_DIR, 1);
        setenv("VIREO_USER_BLOCKS", none.c_str(), 1);
        unsetenv("VIREO_PROBE_LOG");
        vireoBlocks = std::make_unique<VireoBlocks>();
    }
    static void TearDownTestSuite() { vireoBlocks.reset(); }
    void SetUp() override { RootClass::_errors = RootClass::_warnings = 0; }
};

#endif
