// Proporção de créditos por CST e receita por CST da extra-apuração.
#include <gtest/gtest.h>

#include <cmath>

#include "fixtures/Servicos.h"
#include "base/Erros.h"
#include "host/ProporcaoCreditos.h"

namespace {

// Percentuais (tributada, cumulativa, não tributada, exportação) em 6 casas, para comparar de uma vez.
std::vector<double> Perc(const TValoresPropCst& v) {
  std::vector<double> r;
  for (int c : {pcPercRecTribNCum, pcPercRecCum, pcPercRecNTrib, pcPercRecExport})
    r.push_back(std::round(v[static_cast<size_t>(c)] * 1e6) / 1e6);
  return r;
}
using P = std::vector<double>;

TEST(ProporcaoCreditos, RegraPorCST) {
  auto p = TnFisProporcaoCreditos::CalcularProporcoes(TReceitaRateio{600, 0, 300, 100}, false);
  const std::pair<int, P> casos[] = {
      {50, {100, 0, 0, 0}}, {51, {0, 0, 100, 0}}, {52, {0, 0, 0, 100}}, {53, {66.666667, 0, 33.333333, 0}},
      {54, {85.714286, 0, 0, 14.285714}}, {55, {0, 0, 75, 25}}, {56, {60, 0, 30, 10}}, {66, {60, 0, 30, 10}},
      {60, {100, 0, 0, 0}}};
  for (const auto& [cst, esperado] : casos) EXPECT_EQ(Perc(p.at(cst)), esperado) << cst;
  EXPECT_EQ(p.count(70), 0u);
  EXPECT_EQ(std::make_pair(p.at(56)[pcValorRecNTrib], p.at(50)[pcValorRecNTrib]), std::make_pair(300.0, 0.0));
  // Com rateio cumulativo a receita cumulativa entra em todo CST, também nos exclusivos.
  auto q = TnFisProporcaoCreditos::CalcularProporcoes(TReceitaRateio{600, 500, 300, 100}, true);
  EXPECT_EQ(Perc(q.at(50)), (P{54.545455, 45.454545, 0, 0}));
  // Sem receita: crédito exclusivo fica inteiro no seu grupo; comum fica sem rateio.
  auto z = TnFisProporcaoCreditos::CalcularProporcoes(TReceitaRateio{}, false);
  EXPECT_EQ(Perc(z.at(51)), (P{0, 0, 100, 0}));
  EXPECT_EQ(Perc(z.at(56)), (P{0, 0, 0, 0}));
}

class ProporcaoNoBanco : public TServicosTeste {
 protected:
  TnFisPropCreditoParans Parans(const std::string& AEstab, bool AConsolidado, int ARecCum = 0) {
    return {7, AEstab, D("2024-01-01"), D("2024-01-31"), AConsolidado, ARecCum};
  }
  void ReceitaDoMes() {
    Estab(7, 1, false);
    Estab(7, 2, false);
    Estab(7, 9, true);
    Saida(7, 1, 1, 1, "2024-01-05", 5102, 1, "4.3.05.01", 400);     // tributada não cumulativa
    Saida(7, 2, 2, 1, "2024-01-06", 5102001, 1, "4.3.05.01", 200);  // idem, CFOP detalhado
    Saida(7, 1, 3, 1, "2024-01-07", 5102, 6, "4.3.13.101", 300);    // alíquota zero: não tributada
    Saida(7, 1, 4, 1, "2024-01-08", 7101, 8, "4.3.15.101", 100);    // exportação
    Saida(7, 1, 5, 1, "2024-01-09", 5152, 1, "4.3.05.01", 999);     // transferência: fora
    Saida(7, 1, 6, 1, "2024-01-09", 5202, 1, "4.3.05.01", 888);     // devolução: fora
    Saida(7, 1, 7, 1, "2024-01-10", 5102, 49, "4.3.05.01", 777);    // CST 49: não é receita
    Saida(7, 1, 8, 1, "2024-02-01", 5102, 1, "4.3.05.01", 666);     // fora do período
    Saida(7, 9, 9, 1, "2024-01-10", 5102, 1, "4.3.05.01", 555);     // SCP: apura à parte
    Saida(7, 1, 10, 1, "2024-01-11", 5102, 1, "4.3.05.51", 500);    // cumulativa
    Saida(7, 1, 11, 1, "2024-01-12", 7101, 8, "4.3.15.101", 444);   // lançada em nome da SCP 9
    Banco().Executar("UPDATE LCTOFISSAI SET CODIGOESTABSCP = 9 WHERE CHAVELCTOFISSAI = 11");
  }
};

TEST_P(ProporcaoNoBanco, Receita600Tributada300NaoTributada100ExportacaoDa603010NoCST56) {
  ReceitaDoMes();
  TnFisProporcaoCreditos p;
  p.SetParans(Parans("", true));
  p.ExecutarProporcaoCreditos();
  EXPECT_FALSE(p.CarregadaDoBanco());
  const TReceitaRateio& r = p.Receita();
  EXPECT_EQ((P{r.TributadaNCum, r.NaoTributada, r.Exportacao, r.Cumulativa}), (P{600, 300, 100, 500}));
  EXPECT_EQ(Perc(p.Valores().at(56)), (P{60, 0, 30, 10}));
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcValorRecTribNCum), 600);
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(98, pcPercRecTribNCum), 0);
  EXPECT_THROW(p.GetValorCreditoCst(56, 8), EEntradaInvalida);

  // Um estabelecimento só; e a empresa com rateio pela receita cumulativa.
  p.SetParans(Parans("2", false));
  p.ExecutarProporcaoCreditos();
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecTribNCum), 100);
  // A SCP: a venda própria (555) e a exportação lançada pela ostensiva em nome dela (444).
  p.SetParans(Parans("9", false));
  p.ExecutarProporcaoCreditos();
  EXPECT_DOUBLE_EQ(p.Receita().TributadaNCum, 555);
  EXPECT_DOUBLE_EQ(p.Receita().Exportacao, 444);
  p.SetParans(Parans("", true, 1));
  p.ExecutarProporcaoCreditos();
  EXPECT_EQ(Perc(p.Valores().at(56)), (P{40, 33.333333, 20, 6.666667}));
}

TEST_P(ProporcaoNoBanco, ProporcaoGravadaCarregaSemMudanca) {
  TnFisProporcaoCreditos gravar;
  gravar.SetParans(Parans("3", false));
  gravar.ExecutarProporcaoCreditos();  // sem receita: exclusivos 100, comuns 0
  gravar.GravarProporcaoCreditos();
  // Valores próprios gravados à mão num CST, como o fechamento de um período os deixa.
  Banco().Executar("UPDATE PROPORCAOCREDITOCST SET VALORRECTRIBNCUM = 1234.56, PERCRECTRIBNCUM = 12.345678, "
                   "PERCRECNTRIB = 80.5, PERCRECEXPORT = 7.154322 WHERE CST = 56");
  TnFisProporcaoCreditos p;
  p.SetParans(Parans("3", false));
  p.CarregarProporcaoCreditos();
  EXPECT_TRUE(p.CarregadaDoBanco());
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcValorRecTribNCum), 1234.56);
  EXPECT_EQ(Perc(p.Valores().at(56)), (P{12.345678, 0, 80.5, 7.154322}));
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(51, pcPercRecNTrib), 100);
  EXPECT_EQ(p.Valores().size(), 14u);

  // Outro estabelecimento sem proporção gravada: calcula da receita do mês.
  ReceitaDoMes();
  p.SetParans(Parans("1", false));
  p.CarregarProporcaoCreditos();
  EXPECT_FALSE(p.CarregadaDoBanco());
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecTribNCum), 50);  // 400 / (400 + 300 + 100)

  // Lista de estabelecimentos: somam-se as receitas gravadas e o percentual é refeito.
  gravar.SetParans(Parans("1", false));
  gravar.ExecutarProporcaoCreditos();
  gravar.GravarProporcaoCreditos();
  gravar.SetParans(Parans("2", false));
  gravar.ExecutarProporcaoCreditos();
  gravar.GravarProporcaoCreditos();
  p.SetParans(Parans("1-2", false));
  p.CarregarProporcaoCreditos();
  EXPECT_TRUE(p.CarregadaDoBanco());
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecTribNCum), 60);
  gravar.SetParans(Parans("1-2", false));
  EXPECT_THROW(gravar.GravarProporcaoCreditos(), EEntradaInvalida);
}

TEST_P(ProporcaoNoBanco, ReceitaPorCSTDaExtraApuracao) {
  ReceitaDoMes();
  Banco().Executar("INSERT INTO EFDF100DEMAISDOC (CODIGOEMPRESA, CODIGOESTAB, SEQ, DATALCTOFIS, INDOPER, VALOROPER, "
                   "CST, ALIQPIS, ALIQCOFINS, TIPODEBITOCOFINS) VALUES (7, 1, 1, :D, 1, 50, 1, 1.65, 7.6, '4.3.05.01')",
                   {VarDate(D("2024-01-20"))});
  auto ler = [&](int AEnq, int AInc, const std::string& AEstab) {
    std::unique_ptr<TDataSet> ds;
    TnFisPropCreditoRepositorio::CarregarProporcaoReceita(
        ds, {TVariant(int64_t{7}), VarDate(D("2024-01-01")), VarDate(D("2024-01-31"))}, AEstab, AEnq, AInc);
    std::vector<std::string> linhas;
    for (; !ds->Eof(); ds->Next())
      linhas.push_back(ds->FieldByName("CDSITUATRIBUT").AsString() + "|" + ds->FieldByName("TIPODEBITO").AsString() +
                       "|" + std::to_string(std::lround(ds->FieldByName("RECEITAPISCOFINS").AsFloat())) + "|" +
                       std::to_string(std::lround(ds->FieldByName("ALIQCOFINS").AsFloat() * 10)));
    return linhas;
  };
  // Só tributados, só notas: CST 01 somado por tipo de débito, sem transferência, devolução,
  // CST 06 e F100.
  EXPECT_EQ(ler(0, 0, "1-2"), (std::vector<std::string>{"1|4.3.05.01|600|76", "1|4.3.05.51|500|76"}));
  EXPECT_EQ(ler(0, 1, "1"), (std::vector<std::string>{"1|4.3.05.01|400|76", "1|4.3.05.51|500|76",
                                                       "6|4.3.13.101|300|76", "8|4.3.15.101|100|76"}));
  EXPECT_EQ(ler(0, 1, "9"), (std::vector<std::string>{"1|4.3.05.01|555|76", "8|4.3.15.101|444|76"}));
  EXPECT_EQ(ler(1, 0, "1"), (std::vector<std::string>{"1|4.3.05.01|50|76", "1|4.3.05.01|400|76", "1|4.3.05.51|500|76"}));
  std::unique_ptr<TDataSet> ds;
  EXPECT_THROW(TnFisPropCreditoRepositorio::CarregarProporcaoReceita(ds, {TVariant(int64_t{7})}, "", 0, 0),
               EEntradaInvalida);
}

PISCO_INSTANCIAR_BANCOS(ProporcaoNoBanco);

}  // namespace
