#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>

#include "app/windows/FieldState.h"

namespace tarvix {
namespace {

TEST(FieldState, DisabledFieldsAreGreyedAndEnabledOnesGetTheEntryBackground) {
  QLineEdit field;
  const QPalette standard = QApplication::palette(&field);
  DisableField(&field);
  EXPECT_FALSE(field.isEnabled());
  EXPECT_EQ(field.palette().color(QPalette::Disabled, QPalette::Base), standard.color(QPalette::Button));
  EnableField(&field);
  EXPECT_TRUE(field.isEnabled());
  EXPECT_EQ(field.palette().color(QPalette::Active, QPalette::Base), standard.color(QPalette::Base));
  DisableField(nullptr);
}

}  // namespace
}  // namespace tarvix
