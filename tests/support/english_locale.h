// A test in US English, for texts whose numbers Qt writes in the default locale's way (1,310,720);
// the C locale again after it.
#pragma once

#include <QLocale>

#include <gtest/gtest.h>

class EnglishLocale : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};
