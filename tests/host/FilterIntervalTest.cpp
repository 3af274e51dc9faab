#include <gtest/gtest.h>

#include "base/Erros.h"
#include "base/MensagemErro.h"
#include "host/Nutilinclusao.h"

// Que itens são aceitos as entradas guardadas do fuzzing conferem; aqui, a mensagem cita o
// item recusado inteiro. As formas aceitas são executadas em ServicosBanco e FiltrosNoBanco.
TEST(FilterInterval, RecusaQualquerOutraCoisaNomeandoOItem) {
  for (const std::string item : {"DROP TABLE X", "1 OR 1=1", "1-2-3", "1.5", "1'", "1234567890123456789", "8-5",
                                 "１" /* dígito de largura total */}) {
    const std::string m = MensagemDe<EEntradaInvalida>([&] { FilterInterval({"CODIGOESTAB"}, "1, " + item); });
    EXPECT_NE(m.find("\"" + item + "\" em"), std::string::npos) << m;
  }
  EXPECT_THROW(FilterInterval({"X; DROP"}, "1"), EEntradaInvalida);
  EXPECT_THROW(FilterInterval({}, "1"), EEntradaInvalida);
  EXPECT_THROW(FilterInterval({"X"}, "1", {tiExInclusao}, true, 7), EEntradaInvalida);
}
