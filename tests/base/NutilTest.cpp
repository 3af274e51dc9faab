#include <gtest/gtest.h>

#include <cmath>

#include "base/DateTime.h"
#include "base/Decimal.h"
#include "base/Erros.h"
#include "base/Nutil.h"

TEST(Nutil, RoundValorMeioParaLongeDoZero) {
  // valor, casas, esperado: binários logo abaixo do meio (2,675 é 2,67499...), negativos, vai-um e o que já está exato
  const std::tuple<double, int, double> casos[] = {
      {2.675, 2, 2.68},  {1.005, 2, 1.01}, {-2.675, 2, -2.68}, {-2.5, 0, -3},         {1.0049, 2, 1.00},
      {9.995, 2, 10.0},  {1.23456785, 7, 1.2345679}, {0.1 + 0.2, 2, 0.3}, {12.345, 1, 12.3}, {-0.004, 2, 0.0},
  };
  for (const auto& [valor, casas, esperado] : casos) {
    EXPECT_EQ(Nutil::RoundValor(valor, casas), esperado) << valor << " em " << casas << " casas";
    EXPECT_EQ(Nutil::RoundValorBcd(valor, casas), esperado) << valor << " em " << casas << " casas (BCD)";
  }
  // zero negativo não aparece como "-0" em texto
  EXPECT_EQ(Decimal::ArredondarTexto(-0.004, 2), "0.00");
  // chave de lista: mesma alíquota vinda de contas diferentes dá o mesmo texto
  EXPECT_EQ(Decimal::TextoChave(1.65), Decimal::TextoChave(0.165 * 10));
  EXPECT_EQ(Decimal::TextoChave(7.6000000001), "7.6");
  EXPECT_EQ(Decimal::TextoChave(0.82115), "0.8212");
  EXPECT_EQ(Decimal::TextoChave(-0.00001), "0");
  EXPECT_TRUE(std::isnan(Nutil::RoundValor(std::nan(""), 2)));
}

TEST(Nutil, DividirNuncaDaInfinitoNemNaN) {
  const std::tuple<double, double, double> casos[] = {{10, 4, 2.5}, {10, 0, 0}, {-3, 0, 0}, {-9, 3, -3}, {1e308, 1e-308, 0}};
  for (const auto& [a, b, esperado] : casos) EXPECT_EQ(Nutil::Dividir(a, b), esperado) << a << "/" << b;
}

TEST(Nutil, LiteraisSQLEFiltro) {
  const std::tuple<TVariant, std::string, std::string> casos[] = {  // valor, literal SQL, literal de filtro
      {VarNull(), "NULL", "NULL"},
      {int64_t{-42}, "-42", "-42"},
      {1.65, "1.65", "1.65"},
      {0.1 + 0.2, "0.30000000000000004", "0.30000000000000004"},
      {1e-7, "0.0000001", "0.0000001"},
      {std::string("D'Ávila"), "'D''Ávila'", "'D''Ávila'"},
      {VarDate(EncodeDate(2024, 1, 31)), "'2024-01-31'", "45322"},
      {true, "1", "1"},
  };
  for (const auto& [valor, sql, filtro] : casos) {
    EXPECT_EQ(Nutil::ValorParaSQL(valor), sql);
    EXPECT_EQ(Nutil::ValorParaFiltro(valor), filtro);
  }
}

TEST(Nutil, TextoEConversoesTolerantes) {
  EXPECT_EQ(Nutil::PreencherEsquerda("7", 5), "00007");
  EXPECT_EQ(Nutil::PreencherEsquerda("123456", 5), "123456");  // maior que o tamanho: não corta
  EXPECT_EQ(Nutil::VarToFloatDef(std::string("1,5"), -1), 1.5);
  EXPECT_EQ(Nutil::VarToFloatDef(std::string("abc"), -1), -1);
  EXPECT_EQ(Nutil::VarToFloatDef(VarNull(), 7), 7);
  EXPECT_EQ(VarToInt(std::string(" 12 ")), 12);
  EXPECT_EQ(VarToInt(2.5), 3);
  EXPECT_EQ(VarToInt(-2.5), -3);
  EXPECT_EQ(VarToInt(VarNull()), 0);
  EXPECT_EQ(VarToFloat(std::string("2024-01-31")), EncodeDate(2024, 1, 31));
  EXPECT_EQ(VarToStr(100.0), "100");
  EXPECT_EQ(VarToStr(0.1), "0.1");
  EXPECT_EQ(VarToDateTime(std::string("2024-03-05")), EncodeDate(2024, 3, 5));
  EXPECT_TRUE(VarToBool(std::string("True")));
  EXPECT_FALSE(VarToBool(int64_t{0}));
  EXPECT_THROW(VarToInt(std::string("doze")), EConversao);
  EXPECT_THROW(VarToFloat(std::string("1.2.3")), EConversao);
  EXPECT_THROW(VarToDateTime(std::string("31/01/2024")), EConversao);
  EXPECT_THROW(VarToBool(std::string("talvez")), EConversao);
}

// Os casos comuns da soma exata (0,1 + 0,2; 3 x 0,335) passam pelo SUM do SQLite em BancoCruzado.
TEST(Decimal, AcumuladorExato) {
  const std::pair<std::vector<double>, double> casos[] = {
      {{1e-7, 1e7}, 10000000.0000001}, {{-0.1, 0.1}, 0.0}, {{123456789.12, 0.01, -0.13}, 123456789.0},
      {{1e300, 1e-300}, 1e300},  // fora da faixa exata: cai para a soma aproximada
  };
  for (const auto& [valores, esperado] : casos) {
    Decimal::TAcumulador a{};
    for (double v : valores) a.Somar(v);
    EXPECT_EQ(a.Resultado(), esperado) << valores[0];
  }
}

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
