#pragma once
// Asserts that a statement fails with the layer's Failure of a given number.
#include "shell/db/error.h"
#include <gtest/gtest.h>

#define EXPECT_FAILURE(statement, number)                                                        \
    do {                                                                                         \
        try {                                                                                    \
            statement;                                                                           \
            ADD_FAILURE() << "no failure from: " #statement;                                     \
        } catch (const ::mss::db::Failure& failure_) {                                           \
            EXPECT_EQ(failure_.Number, (number)) << failure_.Description.toStdString();          \
        }                                                                                        \
    } while (false)
