// Classificação do tipo de crédito do M100/M500 no repositório monolítico.
#include <gtest/gtest.h>

#include "blocom/repo/nFisRepositorioPisCofinsBlocoM_U.h"

namespace {
struct TCasoTipo {
  int CST;
  const char* Texto;  // CFOP (prefixo) ou "0" quando não há documento
  double Aliq;
  const char* TipoCredito;
  const char* Esperado;
  const char* Falha;  // o erro que o caso pega
};
}  // namespace

TEST(RepoBlocoMClassificacao, TipoDeCreditoPorRegimeEClasse) {
  const TCasoTipo casos[] = {
      {50, "1102", 1.65, "4.3.07.01", "101", "alíquota básica de PIS tomada como diferenciada"},
      {50, "1102", 7.6, "4.3.07.01", "101", "alíquota básica de COFINS tomada como diferenciada"},
      {50, "1102", 1.2, "4.3.07.01", "102", "alíquota diferenciada acima de zero sem a classe 02"},
      {50, "3102", 2.1, "4.3.07.01", "108", "importação (CFOP 3) depois da alíquota diferenciada"},
      {51, "1102", 1.65, "4.3.07.02", "201", "CST 51 fora do regime 2"},
      {52, "1102", 1.65, "4.3.07.02", "301", "CST 52 fora do regime 3"},
      {53, "1102", 1.65, "4.3.07.02", "101", "CST 53 tratado como regime próprio"},
      {61, "1102", 1.65, "4.3.07.01", "206", "CST 61: regime 2 e classe 06 do crédito presumido"},
      {60, "1102", 0.99, "4.3.07.01", "106", "crédito presumido caindo na alíquota diferenciada"},
      {62, "3102", 1.65, "4.3.07.01", "306", "CST 62: a classe 06 vem antes da importação"},
      {50, "1102", 0.65, "4.3.07.18", "104", "estoque de abertura sem a classe 04"},
      {50, "1102", 1.2375, "4.3.07.14", "107", "transporte de carga (1,2375) sem a classe 07"},
      {50, "1102", 5.7, "4.3.07.14", "107", "transporte de carga da COFINS (5,7) sem a classe 07"},
      {50, "1102", 1.65, "4.3.07.15", "109", "atividade imobiliária (15) sem a classe 09"},
      {50, "1102", 1.65, "4.3.07.16", "109", "atividade imobiliária (16) sem a classe 09"},
      {50, "0", 1.65, "4.3.07.16", "101", "ajuste sem documento não cai na classe básica"},
      {50, "1102", 0, "4.3.07.01", "101", "alíquota zero tomada como diferenciada"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(TRepoPisCofinsBlocoM::GetTipoCreditoMestre(c.CST, c.Texto, c.Aliq, c.TipoCredito), c.Esperado)
        << c.Falha << " (CST " << c.CST << ", alíquota " << c.Aliq << ", " << c.TipoCredito << ")";

  // Crédito por quantidade e de bens: o primeiro dígito é sempre o do CST.
  EXPECT_EQ(TRepoPisCofinsBlocoM::GetTipoCreditoMestreQtd(51), "203");
  EXPECT_EQ(TRepoPisCofinsBlocoM::GetTipoCreditoMestreQtd(56), "103");
  EXPECT_EQ(TRepoPisCofinsBlocoM::GetTipoCreditoMestreBem(52, 0), "301");
  EXPECT_EQ(TRepoPisCofinsBlocoM::GetTipoCreditoMestreBem(50, 1), "108");
  // Comparação exata: 1,650001 não é alíquota básica.
  EXPECT_TRUE(TRepoPisCofinsBlocoM::EhAliqBasica(3.0));
  EXPECT_FALSE(TRepoPisCofinsBlocoM::EhAliqBasica(1.650001));
}
