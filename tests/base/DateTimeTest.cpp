#include <gtest/gtest.h>

#include "base/DateTime.h"
#include "base/Erros.h"

TEST(DateTime, CodificaEDecodificaDatasDeReferencia) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
  EXPECT_EQ(EncodeDate(2024, 1, 1), 45292.0);
  EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
  int a, m, d;
  DecodeDate(45322.75, a, m, d);  // hora não muda o dia
  EXPECT_EQ(a * 10000 + m * 100 + d, 20240131);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConversao);
  EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
}

TEST(DateTime, AritmeticaDeMeses) {
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
  EXPECT_EQ(FormatDateTime("yyyymmdd", d), "20240305");
  EXPECT_EQ(FormatDateTime("dd-mm-yyyy", d), "05-03-2024");
  EXPECT_EQ(FormatDateTime("MMYYYY", d), "032024");
  EXPECT_EQ(DataISO(d), "2024-03-05");
  EXPECT_EQ(ISOParaData("2024-03-05"), d);
  EXPECT_EQ(ISOParaData("2024-03-05 00:00:00"), d);
  TDateTime lixo;
  for (const char* ruim : {"", "2024-13-01", "2024-02-30", "05/03/2024", "2024-3-5"})
    EXPECT_FALSE(TryISOParaData(ruim, lixo)) << ruim;
  TDateTime ini, fim;
  CompetenciaParaPeriodo("2024-02", ini, fim);
  EXPECT_EQ(ini, EncodeDate(2024, 2, 1));
  EXPECT_EQ(fim, EncodeDate(2024, 2, 29));
  EXPECT_THROW(CompetenciaParaPeriodo("2024-2", ini, fim), EConversao);
}
