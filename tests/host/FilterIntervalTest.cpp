#include <gtest/gtest.h>

#include "base/Erros.h"
#include "host/Nutilinclusao.h"

TEST(FilterInterval, RecusaQualquerOutraCoisaNomeandoOItem) {
  // a mensagem cita o item recusado, inteiro (o primeiro item do texto é válido)
  EXPECT_THROW(FilterInterval({"CODIGOESTAB"}, "1; DROP TABLE X"), EEntradaInvalida);
  for (const std::string item : {"DROP TABLE X", "1 OR 1=1", "-1", "1--2", "1-", "-", "1-2-3", "1.5", "1 2", "a-b",
                                 "1'", "1/*x*/", "1234567890123456789", "１" /* dígito de largura total */}) {
    try {
      FilterInterval({"CODIGOESTAB"}, item);
      ADD_FAILURE() << "deveria recusar: " << item;
    } catch (const EEntradaInvalida& e) {
      EXPECT_NE(std::string(e.what()).find("item \"" + item + "\""), std::string::npos) << e.what();
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
