// Compensação de créditos (ordem, disponibilidade, repartição pelos M100/M500) e de retidos
// (incidência, validação da origem, forma de controle e a fase da proporção).
#include <gtest/gtest.h>

#include "credits/CreditosFixture.h"
#include "base/DateTime.h"
#include "base/Erros.h"
#include "host/OpcaoEFD.h"
#include "host/Servicos.h"

namespace {
class CompensacaoCreditos : public TCreditosTeste {
 protected:
  // Códigos dos créditos da lista ordenada, com o período (mês) e a alíquota.
  static std::vector<std::string> Ordem(const std::vector<TDadosCreditoObj*>& AL) {
    std::vector<std::string> r;
    for (const auto* c : AL) r.push_back(c->CODCRED.substr(7) + "/" + FormatDateTime("mm", c->PERAPUCRED) + "/" + std::to_string(c->ALIQIMPOSTO).substr(0, 4));
    return r;
  }
};
class CompensacaoRetidos : public TCreditosTeste {};
}  // namespace

TEST_P(CompensacaoCreditos, TresFormasDeOrdenar) {
  Opcao();
  TabelaOrdem(0);
  OrdemTipo(1, "4.3.06.101", 100);
  OrdemTipo(2, "4.3.06.201", 100);
  OrdemAliq(1, 1, 0.65, 3);   // no tipo 101, a alíquota 0,65 vem antes da 1,65
  OrdemAliq(1, 2, 1.65, 7.6);
  auto cc = Controle();
  cc->CarregarCreditosPeriodo();
  cc->InserirCredito(Credito(15, "4.3.06.201", "2023-06-01", 1.65, 10));  // A
  cc->InserirCredito(Credito(15, "4.3.06.101", "2023-09-01", 1.65, 10));  // B
  cc->InserirCredito(Credito(15, "4.3.06.201", "2023-09-01", 1.65, 10));  // C
  cc->InserirCredito(Credito(15, "4.3.06.101", "2023-03-01", 1.65, 10));  // D
  cc->InserirCredito(Credito(15, "4.3.06.101", "2023-09-01", 0.65, 10));  // E
  cc->InserirCredito(Credito(16, "4.3.06.101", "2023-01-01", 7.6, 10));   // outro tributo
  cc->InserirCredito(Credito(15, "4.3.06.301", "2023-01-01", 1.65, 10));  // tipo fora da tabela

  struct Caso {
    int Forma, OrdemCompCred;
    std::vector<std::string> Esperado;
  };
  const std::vector<Caso> casos{
      {0, 1, {"101/03/1.65", "201/06/1.65", "101/09/0.65", "101/09/1.65", "201/09/1.65"}},
      {0, 2, {"101/09/0.65", "101/09/1.65", "201/09/1.65", "201/06/1.65", "101/03/1.65"}},
      {1, 1, {"101/03/1.65", "101/09/0.65", "101/09/1.65", "201/06/1.65", "201/09/1.65"}},
      {1, 2, {"101/09/0.65", "101/09/1.65", "101/03/1.65", "201/09/1.65", "201/06/1.65"}}};
  for (const Caso& c : casos) {
    SCOPED_TRACE("forma " + std::to_string(c.Forma) + " ordem " + std::to_string(c.OrdemCompCred));
    Banco().Executar("UPDATE EFDORDEMCOMPCRED SET FORMACOMPENSACAO = " + std::to_string(c.Forma));
    MudarOpcao("ORDEMCOMPCREDEFD", std::to_string(c.OrdemCompCred));
    ControleOpcaoEFD().Configurar(1, 1, ISOParaData("2024-01-01"));
    EXPECT_EQ(Ordem(cc->MontarListaCredDispOrdenada(15, false)), c.Esperado);
  }
  // Sem linha da tabela de compensação a forma é separada.
  Banco().Executar("DELETE FROM EFDORDEMCOMPCRED");
  EXPECT_EQ(cc->FormaCompensacao(), fcSeparado);
  // Incluir todos: o tipo fora da tabela entra no fim (ordem 99), mas sem percentual nada dele
  // está disponível.
  const auto todos = cc->MontarListaCredDispOrdenada(15, true);
  ASSERT_EQ(todos.size(), 6u);
  EXPECT_EQ(todos.back()->CODCRED, "4.3.06.301");
  EXPECT_EQ(cc->GetOrdemCred("4.3.06.301"), 99);
  EXPECT_DOUBLE_EQ(cc->CompensarCredito(*todos.back(), 5), 0);
  EXPECT_DOUBLE_EQ(todos.back()->VLCREDDESCEFD, 0);
}

TEST_P(CompensacaoCreditos, CreditoAgroDePeriodoAnteriorSoComAOpcao) {
  Opcao();
  TabelaOrdem(0);
  OrdemTipo(1, "4.3.06.106", 100);
  OrdemTipo(2, "4.3.06.206", 100);
  auto cc = Controle();
  cc->CarregarCreditosPeriodo();
  cc->InserirCredito(Credito(15, "4.3.06.106", "2023-12-01", 1.65, 10));  // anterior
  cc->InserirCredito(Credito(15, "4.3.06.206", "2024-01-01", 1.65, 10));  // do período
  for (const auto& [agro, esperado] : {std::pair{"0", std::vector<std::string>{"206/01/1.65"}},
                                       std::pair{"1", std::vector<std::string>{"106/12/1.65", "206/01/1.65"}}}) {
    MudarOpcao("INDCREDAGRO", agro);
    ControleOpcaoEFD().Configurar(1, 1, ISOParaData("2024-01-01"));
    EXPECT_EQ(Ordem(cc->MontarListaCredDispOrdenada(15, false)), esperado) << "agro " << agro;
  }
}

TEST_P(CompensacaoCreditos, UsoRepartidoPelosRegistrosEmOrdemDeTexto) {
  Opcao();
  TabelaOrdem(0);
  OrdemTipo(1, "4.3.06.101", 100);
  struct Caso {
    double Base1, Base2, Usar;
    double Desc1, Desc2;  // desconto de cada registro, na ordem de inclusão
  };
  // 150 sobre disponíveis de 100 e 100; bases 20 e 100 (alíquota 10): a de 100 vem antes em texto.
  for (const Caso& c : {Caso{1000, 1000, 150, 100, 50}, Caso{20, 100, 5, 0, 5}, Caso{20, 100, 11, 1, 10},
                        Caso{1000, 1000, 250, 100, 100}}) {
    SCOPED_TRACE(c.Usar);
    auto cc = Controle();
    cc->CarregarCreditosPeriodo();
    auto r1 = RegistroCredito(c.Base1, 10);
    auto r2 = RegistroCredito(c.Base2, 10);
    const double total = (c.Base1 + c.Base2) / 10 + 50;
    cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 10, total / 2, r1.get()));
    cc->InserirCredito(Credito(15, "4.3.06.101", "2024-01-01", 10, total / 2, r2.get()));
    auto& credito = *cc->MontarListaCredDispOrdenada(15, false).at(0);
    EXPECT_DOUBLE_EQ(cc->CompensarCredito(credito, c.Usar), c.Usar);
    EXPECT_DOUBLE_EQ(r1->FVL_CRED_DESC, c.Desc1);
    EXPECT_DOUBLE_EQ(r2->FVL_CRED_DESC, c.Desc2);
    EXPECT_DOUBLE_EQ(credito.VLCREDDESCEFD, c.Usar);  // a linha guarda o valor inteiro
  }
}

// Crédito que não está no livro não compensa nada; em uso interno é erro de programação.
TEST_P(CompensacaoCreditos, CreditoForaDoLivroETabelaComTipoRepetido) {
  Opcao();
  auto cc = Controle();
  TDadosCreditoObj estranho(Credito(15, "4.3.06.101", "2024-01-01", 1.65, 100));
  EXPECT_DOUBLE_EQ(cc->CompensarCredito(estranho, 10), 0);
  Host().Servicos().SetUsoInterno(true);
  EXPECT_THROW(cc->CompensarCredito(estranho, 10), EPisco);
  Host().Servicos().SetUsoInterno(false);
  OrdemTipo(1, "4.3.06.101", 100);
  OrdemTipo(2, "4.3.06.101", 50);
  EXPECT_THROW(cc->CarregarCreditosPeriodo(), EChaveDuplicada);
}

// ------------------------------------------------------------------ retidos

// Incidência e validação da origem estão no cenário dos retidos por incidência; aqui a ordem: na
// cumulativa os 50 da contribuição vão inteiros ao retido de novembro (30), incluído depois do de
// dezembro, e o resto a este.
TEST_P(CompensacaoRetidos, RetidoMaisAntigoUsadoPrimeiro) {
  Opcao("INCTRIBUTARIA=2");
  auto cc = Controle();
  const TDadosRetido a = Retido("2023-11-01", "4.3.05.01", 30), b = Retido("2023-12-01", "4.3.05.51", 40);
  cc->InserirCredRetido(b);
  cc->InserirCredRetido(a);
  auto m200 = RegistroContrib(100, 50);
  cc->CompensarRetido(*m200, 15);
  EXPECT_DOUBLE_EQ(Procurar(*cc, a)->VLRETDED, 30);
  EXPECT_DOUBLE_EQ(Procurar(*cc, b)->VLRETDED, 20);
}

TEST_P(CompensacaoRetidos, FormaDeControle2NaoDeduzOTrazidoMasLevaODiferimento) {
  for (int forma : {1, 2}) {
    SCOPED_TRACE(forma);
    Opcao("INCTRIBUTARIA=1|FORMACONTROLERETIDOS=" + std::to_string(forma));
    auto cc = Controle();
    TDadosRetido trazido = Retido("2023-10-01", "4.3.05.01", 30, "2023-12-01");
    trazido.VLDIFERIDOAPU = 4;
    trazido.VLDIFERIRAPU = 6;
    cc->InserirCredRetido(trazido);
    cc->InserirCredRetido(Retido("2024-01-10", "4.3.05.01", 20));
    auto m200 = RegistroContrib(100, 0);
    cc->CompensarRetido(*m200, 15);
    EXPECT_DOUBLE_EQ(m200->FVL_DIFERIDO_CUM, 4);
    EXPECT_DOUBLE_EQ(m200->FVL_DIFERIR_CUM, 6);
    EXPECT_DOUBLE_EQ(m200->FVL_RET_NC, forma == 2 ? 20 : 50);
    EXPECT_DOUBLE_EQ(Procurar(*cc, trazido)->VLRETDED, forma == 2 ? 0 : 30);
  }
}

// R = 100 x 10% = 10 da contribuição não cumulativa não pode ser abatido por retido: cada linha
// deduz a parte proporcional a T - R, com T o que todas as linhas poderiam abater (também as
// cumulativas); o saldo que fica soma exatamente R e a maior linha absorve o centavo.
TEST_P(CompensacaoRetidos, FaseDaProporcao) {
  struct Caso {
    std::string Opcoes;
    std::vector<std::tuple<std::string, std::string, double>> Linhas;  // data, débito, valor
    double ContCum, OutDedNC;
    double Ded1, RetNC, SaldoUltima, Saldo;  // -1: não conferido
  };
  const std::vector<Caso> casos{
      // 2,22 x 3 + 3,34 = 10; a última linha chega em duas partes da mesma chave (10 + 5)
      {"INCTRIBUTARIA=1",
       {{"2023-10-01", "01", 10}, {"2023-10-02", "01", 10}, {"2023-10-03", "01", 10}, {"2023-10-04", "01", 10},
        {"2023-10-04", "01", 5}},
       0, 0, 10 - 10 * 10.0 / 45, 45, 3.34, 10},
      // T = min(10, 100) + min(20, 50) = 30
      {"INCTRIBUTARIA=3|VALIDARORIGEMCOMPRET=1", {{"2023-10-01", "01", 10}, {"2023-10-02", "51", 20}}, 50, 0,
       10 - 10 * 10.0 / 30, -1, -1, -1},
      // a contribuição não cumulativa já foi toda abatida: T = 0, nada se reparte nem abate
      {"INCTRIBUTARIA=1", {{"2023-10-01", "01", 30}}, 0, 100, 0, 0, 30, 30},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.Opcoes + " " + std::to_string(c.Linhas.size()));
    Opcao(c.Opcoes);
    auto cc = Controle();
    for (const auto& [data, debito, valor] : c.Linhas) cc->InserirCredRetido(Retido(data, "4.3.05." + debito, valor));
    auto m200 = RegistroContrib(100, c.ContCum, 100);
    m200->FVL_OUT_DED_NC = c.OutDedNC;
    ASSERT_DOUBLE_EQ(m200->GetRecNaoCompRet(), 10);
    cc->CompensarRetido(*m200, 15);
    const auto& [data1, debito1, valor1] = c.Linhas.front();
    const auto& [dataN, debitoN, valorN] = c.Linhas.back();
    EXPECT_NEAR(Procurar(*cc, Retido(data1, "4.3.05." + debito1))->VLRETDED, c.Ded1, 1e-9);
    if (c.Saldo < 0) continue;
    EXPECT_DOUBLE_EQ(Procurar(*cc, Retido(dataN, "4.3.05." + debitoN))->SLDRET(), c.SaldoUltima);
    EXPECT_DOUBLE_EQ(m200->FVL_RET_NC, c.RetNC);
    double saldo = 0;
    for (const auto& [k, l] : cc->GetLstCredRetido()) saldo += l.SLDRET();
    EXPECT_NEAR(saldo, c.Saldo, 1e-9);
  }
}

PISCO_INSTANCIAR_BANCOS(CompensacaoCreditos);
PISCO_INSTANCIAR_BANCOS(CompensacaoRetidos);
