#include <gtest/gtest.h>

#include "blocom/control/nFisEFDGeradorBlocoM_U.h"

namespace {
using G = TnFisEFDGeradorBlocoM;

struct CasoTipoCredito {
  int cst;
  const char* tabela;
  double aliquota;
  const char* cfop;
  int daconTipoReceita;
  const char* esperado;
  const char* regra;
};

// Cada linha nomeia a regra que deve decidir o código.
const CasoTipoCredito kCasos[] = {
    {50, "4.3.07.01", 1.65, "1102", 0, "101", "basica, CFOP 1"},
    {51, "4.3.07.01", 7.6, "1102", 0, "201", "regime 2"},
    {52, "4.3.07.01", 1.65, "3102", 0, "308", "importacao, regime 3"},
    {50, "4.3.07.01", 0.8, "5102", 0, "102", "aliquota diferenciada"},
    {50, "4.3.07.01", 1.6500001, "5102", 0, "102", "1.6500001 nao e basica"},
    {50, "4.3.07.01", 0.0, "5102", 0, "101", "aliquota zero cai na tabela: item 01"},
    {56, "4.3.07.15", 7.6, "5102", 0, "109", "tabela 7 item 15"},
    {50, "4.3.07.14", 7.6, "5102", 0, "101", "tabela 7 item 14 com aliquota basica"},
    {50, "4.3.07.XX", 7.6, "5102", 0, "101", "item nao numerico: M = 0"},
    {50, "4.3.09.01", 7.6, "5102", 0, "106", "tabela 9"},
    {50, "", 7.6, "5102", 0, "101", "sem tabela"},
    {50, "4.3.07.18", 7.6, "5102", 0, "104", "tabela 18 antes da regra 9"},
    {60, "4.3.07.01", 7.6, "1102", 0, "106", "CST 60 presumido"},
    {66, "4.3.07.01", 7.6, "3102", 0, "106", "CST 66 antes da importacao"},
    {67, "4.3.07.01", 7.6, "1102", 0, "101", "CST 67 fora da faixa 60-66"},
    {62, "4.3.07.01", 7.6, "5102", 0, "306", "CST 62 regime 3 e presumido"},
    {50, "4.3.07.01", 7.6, "1102", 10, "103", "tipo de receita DACON 10 vence tudo"},
    {60, "4.3.07.13", 2.0, "3102", 10, "103", "DACON 10 antes da tabela 13"},
    {50, "4.3.07.13", 2.0, "1102", 0, "107", "tabela 13 aliquota nao basica"},
    {50, "4.3.07.13", 2.0, "3102", 0, "108", "tabela 13 importacao"},
    {50, "4.3.07.13", 1.65, "5102", 0, "101", "tabela 13 com 1,65 pula a regra 2"},
    {50, "4.3.07.13", 7.6000001, "5102", 0, "102", "tabela 13: 7,6000001 arredonda para 7,6"},
    {50, "4.3.07.13", 1.6549, "5102", 0, "102", "tabela 13: 1,6549 arredonda (2 casas) para 1,65"},
    {50, "4.3.07.14", 1.2375, "1102", 0, "107", "tabela 14 aliquota 1,2375"},
    {50, "4.3.07.14", 5.699999, "1102", 0, "107", "tabela 14: 5,699999 arredonda para 5,70"},
    {50, "4.3.07.14", 5.6, "1102", 0, "102", "tabela 14 outra aliquota"},
    {53, "4.3.07.01", 7.6, "1102", 0, "101", "CST 53 regime 1"},
    {50, "4.3.07.01", 3.0, "X102", 0, "101", "CFOP nao numerico conta como 0"},
};
}  // namespace

TEST(TipoCredito, TabelaDeRegras) {
  for (const auto& c : kCasos) {
    EXPECT_EQ(G::GetTipoCreditoMestre(c.cst, c.tabela, c.aliquota, c.cfop, c.daconTipoReceita), c.esperado)
        << c.regra << " (CST " << c.cst << ", tabela " << c.tabela << ", aliquota " << c.aliquota << ", CFOP "
        << c.cfop << ")";
  }
}
