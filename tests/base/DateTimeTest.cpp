#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "base/Erros.h"

TEST(DateTime, CodificacaoEAritmeticaDeMeses) {
  EXPECT_EQ(EncodeDate(2024, 1, 1), 45292.0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
  int a, m, d;
  DecodeDate(45322.75, a, m, d);  // hora não muda o dia
  EXPECT_EQ(a * 10000 + m * 100 + d, 20240131);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConversao);
  const TDateTime jan31 = EncodeDate(2024, 1, 31);
  EXPECT_EQ(IncMonth(jan31, 1), EncodeDate(2024, 2, 29));
  EXPECT_EQ(IncMonth(jan31, -2), EncodeDate(2023, 11, 30));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 12, 15), 1), EncodeDate(2025, 1, 15));
  EXPECT_EQ(StartOfTheMonth(jan31), EncodeDate(2024, 1, 1));
  EXPECT_EQ(EndOfTheMonth(EncodeDate(2100, 2, 3)), EncodeDate(2100, 2, 28));
  EXPECT_TRUE(MesmoDia(jan31, jan31 + 0.99));
  EXPECT_EQ(CompararDias(jan31 + 0.5, jan31), 0);
}

TEST(DateTime, FormatosDoSistema) {
  const TDateTime d = EncodeDate(2024, 3, 5);
  EXPECT_EQ(FormatDateTime("ddmmyyyy", d), "05032024");
  EXPECT_EQ(FormatDateTime("dd-mm-yyyy", d), "05-03-2024");
  EXPECT_EQ(FormatDateTime("MMYYYY", d), "032024");
  EXPECT_EQ(ISOParaData("2024-03-05 00:00:00"), d);
}
