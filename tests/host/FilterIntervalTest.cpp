#include <gtest/gtest.h>

#include "base/Erros.h"
#include "host/Nutilinclusao.h"

TEST(FilterInterval, NotacaoDeEstabelecimentos) {
  struct Caso {
    std::string Texto, Esperado;
  };
  const Caso casos[] = {
      {"", ""},
      {"   ", ""},
      {" ,; ", ""},
      {"1", " AND L.CODIGOESTAB = 1 "},
      {" 007 ", " AND L.CODIGOESTAB = 7 "},
      {"0", " AND L.CODIGOESTAB = 0 "},
      {"1,3", " AND L.CODIGOESTAB IN (1, 3) "},
      {"1;3", " AND L.CODIGOESTAB IN (1, 3) "},
      {"1, 3 ;, 5", " AND L.CODIGOESTAB IN (1, 3, 5) "},
      {"5-8", " AND L.CODIGOESTAB BETWEEN 5 AND 8 "},
      {"5 - 8", " AND L.CODIGOESTAB BETWEEN 5 AND 8 "},
      {"8-8", " AND L.CODIGOESTAB BETWEEN 8 AND 8 "},
      {"1,3;5-8", " AND (L.CODIGOESTAB IN (1, 3) OR L.CODIGOESTAB BETWEEN 5 AND 8) "},
      {"1-2,10-20", " AND (L.CODIGOESTAB BETWEEN 1 AND 2 OR L.CODIGOESTAB BETWEEN 10 AND 20) "},
      {"999999999999999999", " AND L.CODIGOESTAB = 999999999999999999 "},
  };
  for (const auto& c : casos) EXPECT_EQ(FilterInterval({"L.CODIGOESTAB"}, c.Texto), c.Esperado) << "\"" << c.Texto << "\"";
}

TEST(FilterInterval, RecusaQualquerOutraCoisaNomeandoOItem) {
  struct Caso {
    std::string Texto, Item;
  };
  const Caso casos[] = {
      {"1; DROP TABLE X", "DROP TABLE X"},
      {"1 OR 1=1", "1 OR 1=1"},
      {"-1", "-1"},
      {"1--2", "1--2"},
      {"1-", "1-"},
      {"-", "-"},
      {"1-2-3", "1-2-3"},
      {"1.5", "1.5"},
      {"1 2", "1 2"},
      {"a-b", "a-b"},
      {"1'", "1'"},
      {"1/*x*/", "1/*x*/"},
      {"1234567890123456789", "1234567890123456789"},
      {"１", "１"},  // dígito de largura total não é número ASCII
  };
  for (const auto& c : casos) {
    try {
      FilterInterval({"CODIGOESTAB"}, c.Texto);
      ADD_FAILURE() << "deveria recusar: " << c.Texto;
    } catch (const EEntradaInvalida& e) {
      EXPECT_NE(std::string(e.what()).find("item \"" + c.Item + "\""), std::string::npos) << e.what();
    }
  }
  try {
    FilterInterval({"CODIGOESTAB"}, "8-5");
    ADD_FAILURE() << "intervalo invertido aceito";
  } catch (const EEntradaInvalida& e) {
    EXPECT_NE(std::string(e.what()).find("\"8-5\""), std::string::npos) << e.what();
  }
}

TEST(FilterInterval, FormasDoSistema) {
  // sem " AND " (forma SCP, que o chamador encaixa entre parênteses)
  EXPECT_EQ(FilterInterval({"LS.CODIGOESTAB"}, "2", {tiExInclusao}, false), "LS.CODIGOESTAB = 2 ");
  // exclusão
  EXPECT_EQ(FilterInterval({"CODIGOESTAB"}, "1,2", {tiExExclusao}), " AND NOT (CODIGOESTAB IN (1, 2)) ");
  // duas colunas: todas restritas
  EXPECT_EQ(FilterInterval({"A", "B"}, "1", {tiExInclusao, tiExInclusao}), " AND (A = 1 AND B = 1) ");
  // números de processo: textos entre aspas, com aspas dobradas; '-' não é intervalo
  EXPECT_EQ(FilterInterval({"SUBSTR(NUMPROCREF, 1, 20)"}, "0001234-56.2020; O'X", {tiExInclusao}, true, kFiltroTexto),
            " AND SUBSTR(NUMPROCREF, 1, 20) IN ('0001234-56.2020', 'O''X') ");
  EXPECT_EQ(FilterInterval({"SUBSTR(NUMPROCREF, 1, 20)"}, "", {tiExInclusao}, true, kFiltroTexto), "");
  EXPECT_THROW(FilterInterval({"X"}, "a\x01", {tiExInclusao}, true, kFiltroTexto), EEntradaInvalida);
  EXPECT_THROW(FilterInterval({"X; DROP"}, "1"), EEntradaInvalida);
  EXPECT_THROW(FilterInterval({}, "1"), EEntradaInvalida);
  EXPECT_THROW(FilterInterval({"X"}, "1", {tiExInclusao}, true, 7), EEntradaInvalida);
}
