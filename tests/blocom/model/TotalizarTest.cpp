#include <gtest/gtest.h>

#include "blocom/model/nFisRepositorioEFDModel_U.h"
#include "fixtures/ArvoreBlocoM.h"
#include "output/EscritorBlocoM.h"

namespace {

using arvore_teste::Chave;
using arvore_teste::MontarArvoreCompleta;

// A mesma árvore somada duas vezes é a árvore de valores dobrados, linha a linha: pega o campo
// que não soma, o que soma no vizinho, o que copia em vez de somar e a identificação não copiada.
// Sem M211 e M350, que não somam (abaixo), e sem o crédito de valor gravado 12,345, que soma
// arredondado (abaixo).
TEST(Totalizar, ArvoreSomadaDuasVezesEhADobrada) {
  const arvore_teste::TOpcoesArvore um{1.0, true, false, false, false};
  arvore_teste::TOpcoesArvore dois = um;
  dois.Fator = 2.0;
  TM001AberturaBloco total;
  total.Totalizar(*MontarArvoreCompleta(um));
  total.Totalizar(*MontarArvoreCompleta(um));
  EXPECT_EQ(MontarLinhasBlocoM(total), MontarLinhasBlocoM(*MontarArvoreCompleta(dois)));

  // Valor gravado soma o lido, já arredondado: 10,01 + 10,01, não 20,01.
  TM100_500CreditoImpostoList creditos, gravado;
  auto& c = gravado.Add(Chave(1), std::make_unique<TM100_500CreditoImposto>());
  c.FCOD_CRED = "109";
  c.FVL_CRED = 10.005;
  creditos.Totalizar(gravado);
  creditos.Totalizar(gravado);
  EXPECT_DOUBLE_EQ(creditos.Items(Chave(1)).GetVL_CRED(), 20.02);
}

// O M211 da origem substitui o do destino (uma cópia ligada ao M210 de destino); o M350 é o do
// último M001 que tinha um. Nenhum dos dois soma.
TEST(Totalizar, M211EM350DaOrigemSubstituem) {
  TM001AberturaBloco total;
  total.Totalizar(*MontarArvoreCompleta({1.0, true, false, false, true}));
  const auto com211 = MontarArvoreCompleta({3.0, true, false, true, false});
  total.Totalizar(*com211);
  total.Totalizar(*com211);
  const auto& d = total.FM200->FM210_610List.Items(Chave(1));
  ASSERT_NE(d.FM211_611, nullptr);
  EXPECT_NE(d.FM211_611.get(), com211->FM200->FM210_610List.Items(Chave(1)).FM211_611.get());
  EXPECT_EQ(d.FM211_611->FM210_610, &d);
  EXPECT_DOUBLE_EQ(d.GetVL_BC_CONT(), 25500);  // 30000 - 3000 - 1500, não o dobro
  ASSERT_NE(total.FM350, nullptr);             // origem sem M350 não apaga o do destino
  EXPECT_DOUBLE_EQ(total.FM350->VL_TOT_FOL, 50000);
  total.Totalizar(*MontarArvoreCompleta({3.0, false, false, false, true}));
  total.Totalizar(*MontarArvoreCompleta({3.0, false, false, false, true}));
  EXPECT_DOUBLE_EQ(total.FM350->VL_TOT_FOL, 150000);
}

}  // namespace
