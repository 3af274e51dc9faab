#include <gtest/gtest.h>

#include <cmath>

#include "base/Decimal.h"
#include "base/Erros.h"
#include "base/Nutil.h"

TEST(Nutil, RoundValorMeioParaLongeDoZero) {
  struct Caso {
    double Valor;
    int Casas;
    double Esperado;
  };
  // binários logo abaixo do meio (2,675 é 2,67499...), negativos, vai-um e o que já está exato
  const Caso casos[] = {
      {2.675, 2, 2.68},  {1.005, 2, 1.01}, {-2.675, 2, -2.68}, {-2.5, 0, -3},         {1.0049, 2, 1.00},
      {9.995, 2, 10.0},  {1.23456785, 7, 1.2345679}, {0.1 + 0.2, 2, 0.3}, {12.345, 1, 12.3}, {-0.004, 2, 0.0},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(Nutil::RoundValor(c.Valor, c.Casas), c.Esperado) << c.Valor << " em " << c.Casas << " casas";
    EXPECT_EQ(Nutil::RoundValorBcd(c.Valor, c.Casas), c.Esperado) << c.Valor << " em " << c.Casas << " casas (BCD)";
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
  struct Caso {
    double A, B, Esperado;
  };
  const Caso casos[] = {{10, 4, 2.5}, {10, 0, 0}, {0, 0, 0}, {-3, 0, 0}, {-9, 3, -3}, {1e308, 1e-308, 0}};
  for (const auto& c : casos) EXPECT_EQ(Nutil::Dividir(c.A, c.B), c.Esperado) << c.A << "/" << c.B;
}

TEST(Nutil, LiteraisSQLEFiltro) {
  struct Caso {
    TVariant Valor;
    std::string SQL, Filtro;
  };
  const Caso casos[] = {
      {VarNull(), "NULL", "NULL"},
      {int64_t{-42}, "-42", "-42"},
      {1.65, "1.65", "1.65"},
      {0.1 + 0.2, "0.30000000000000004", "0.30000000000000004"},
      {1e-7, "0.0000001", "0.0000001"},
      {std::string("D'Ávila"), "'D''Ávila'", "'D''Ávila'"},
      {VarDate(EncodeDate(2024, 1, 31)), "'2024-01-31'", "45322"},
      {true, "1", "1"},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(Nutil::ValorParaSQL(c.Valor), c.SQL);
    EXPECT_EQ(Nutil::ValorParaFiltro(c.Valor), c.Filtro);
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

TEST(Decimal, AcumuladorExato) {
  struct Caso {
    std::vector<double> Valores;
    double Esperado;
  };
  const Caso casos[] = {
      {{0.1, 0.2}, 0.3},
      {{0.335, 0.335, 0.335}, 1.005},
      {{1e-7, 1e7}, 10000000.0000001},
      {{-0.1, 0.1}, 0.0},
      {{123456789.12, 0.01, -0.13}, 123456789.0},
      {{}, 0.0},
  };
  for (const auto& c : casos) {
    Decimal::TAcumulador a{};
    for (double v : c.Valores) a.Somar(v);
    EXPECT_TRUE(a.Exato());
    EXPECT_EQ(a.Resultado(), c.Esperado);
  }
  Decimal::TAcumulador grande{};
  grande.Somar(1e300);
  grande.Somar(1e-300);  // fora da faixa exata: cai para aproximado
  EXPECT_FALSE(grande.Exato());
  EXPECT_EQ(grande.Resultado(), 1e300);
}
