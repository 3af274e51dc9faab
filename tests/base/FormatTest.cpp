#include <gtest/gtest.h>

#include "base/Erros.h"
#include "base/Format.h"
#include "base/MensagemErro.h"

TEST(Format, RegrasPosicionais) {
  const std::tuple<std::string, TParams, std::string> casos[] = {  // formato, argumentos, texto
      {"%s-%d", {std::string("ENT"), int64_t{16}}, "ENT-16"},
      {"LCTOFIS%0:sPISCOFINS L JOIN LCTOFIS%0:S E", {std::string("SAI")}, "LCTOFISSAIPISCOFINS L JOIN LCTOFISSAI E"},
      {"%0:d %1:s %2:s", {int64_t{15}, std::string("PIS"), std::string("PIS")}, "15 PIS PIS"},
      {"%1:s %s %0:s", {std::string("a"), std::string("b"), std::string("c")}, "b c a"},  // segue do índice
      {"%2:s %s", {std::string("a"), std::string("b"), std::string("c"), std::string("d")}, "c d"},
      {"%f", {2.5}, "2.50"},
      {"%.2f", {1.0 / 3}, "0.33"},
      {"%.0f", {int64_t{3}}, "3"},
      {"%5d|%-5d|%.3d", {int64_t{42}, int64_t{42}, int64_t{7}}, "   42|42   |007"},
      {"%.3s", {std::string("COFINS")}, "COF"},
      // precisão e largura contam caracteres, não bytes: nunca corta um "ç" ao meio
      {"%.3s|%-5s|%5s", {std::string("AÇÃO"), std::string("ção"), std::string("não")}, "AÇÃ|ção  |  não"},
      {"%x", {int64_t{255}}, "FF"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%g", {0.1}, "0.1"},
      {"%s", {VarDate(45322)}, "2024-01-31"},
      {"%s", {VarNull()}, ""},
      {"%*d", {int64_t{4}, int64_t{1}}, "   1"},
      {"%d", {int64_t{INT64_MIN}}, "-9223372036854775808"},
  };
  for (const auto& [formato, args, esperado] : casos) EXPECT_EQ(Format(formato, args), esperado) << formato;
}

TEST(Format, ErrosDeFormato) {
  const std::tuple<std::string, TParams, std::string> casos[] = {  // formato, argumentos, trecho da mensagem
      {"%s %s", {std::string("a")}, "falta o argumento 1 em \"%s\""},
      {"%d", {}, "falta o argumento 0"},
      {"%d", {std::string("12")}, "pede inteiro"},
      {"%f", {std::string("x")}, "pede número"},
      {"%q", {int64_t{1}}, "tipo de formato desconhecido 'q'"},
      {"fim %", {int64_t{1}}, "incompleta"},
  };
  for (const auto& [formato, args, trecho] : casos) {
    const std::string m = MensagemDe<EConversao>([&] { Format(formato, args); });
    EXPECT_NE(m.find(trecho), std::string::npos) << formato << " -> " << m;
    EXPECT_NE(m.find("Formato inválido"), std::string::npos) << m;
  }
}
