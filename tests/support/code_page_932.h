// Tests of text in a double-byte code page. Wine takes its ANSI code page
// from the Linux locale, so these run for real only under a Japanese locale:
// tests/code_page_932.sh runs them so and sets QUILLET_CODE_PAGE=932. In an
// ordinary run they are skipped; under that script another code page fails.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#define REQUIRE_CODE_PAGE_932()                                                          \
    do {                                                                                 \
        if (GetACP() != 932) {                                                           \
            if (std::getenv("QUILLET_CODE_PAGE"))                                        \
                FAIL() << "the ANSI code page is " << GetACP() << ", not 932";           \
            GTEST_SKIP() << "the ANSI code page is not 932 (see tests/code_page_932.sh)"; \
        }                                                                                \
    } while (0)
