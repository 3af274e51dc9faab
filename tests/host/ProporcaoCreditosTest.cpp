// Proporção de créditos por CST e receita por CST da extra-apuração.
#include <gtest/gtest.h>

#include <cmath>

#include "fixtures/Servicos.h"
#include "base/Erros.h"
#include "host/ProporcaoCreditos.h"

namespace {

TEST(ProporcaoCreditos, RegraPorCST) {
  TReceitaRateio r{600, 0, 300, 100};
  auto p = TnFisProporcaoCreditos::CalcularProporcoes(r, false);
  struct TCaso {
    int CST;
    double Trib, Cum, NTrib, Export;
  };
  const TCaso casos[] = {{50, 100, 0, 0, 0},       {51, 0, 0, 100, 0},      {52, 0, 0, 0, 100},
                         {53, 600.0 * 100 / 900, 0, 300.0 * 100 / 900, 0}, {54, 600.0 * 100 / 700, 0, 0, 100.0 * 100 / 700},
                         {55, 0, 0, 75, 25},       {56, 60, 0, 30, 10},     {66, 60, 0, 30, 10},
                         {60, 100, 0, 0, 0}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.CST);
    const auto& v = p.at(c.CST);
    EXPECT_DOUBLE_EQ(v[pcPercRecTribNCum], c.Trib);
    EXPECT_DOUBLE_EQ(v[pcPercRecCum], c.Cum);
    EXPECT_DOUBLE_EQ(v[pcPercRecNTrib], c.NTrib);
    EXPECT_DOUBLE_EQ(v[pcPercRecExport], c.Export);
  }
  EXPECT_EQ(p.count(70), 0u);
  EXPECT_DOUBLE_EQ(p.at(56)[pcValorRecNTrib], 300);
  EXPECT_DOUBLE_EQ(p.at(50)[pcValorRecNTrib], 0);

  // Com rateio cumulativo a receita cumulativa entra em todo CST e tem campo próprio.
  auto q = TnFisProporcaoCreditos::CalcularProporcoes(TReceitaRateio{600, 500, 300, 100}, true);
  EXPECT_DOUBLE_EQ(q.at(56)[pcPercRecTribNCum], 40);
  EXPECT_DOUBLE_EQ(q.at(56)[pcPercRecCum], 500.0 * 100 / 1500);
  EXPECT_DOUBLE_EQ(q.at(50)[pcPercRecTribNCum], 600.0 * 100 / 1100);
  EXPECT_DOUBLE_EQ(q.at(50)[pcPercRecCum], 500.0 * 100 / 1100);

  // Sem receita: crédito exclusivo fica inteiro no seu grupo; comum fica sem rateio.
  auto z = TnFisProporcaoCreditos::CalcularProporcoes(TReceitaRateio{}, false);
  EXPECT_DOUBLE_EQ(z.at(51)[pcPercRecNTrib], 100);
  EXPECT_DOUBLE_EQ(z.at(56)[pcPercRecTribNCum] + z.at(56)[pcPercRecNTrib] + z.at(56)[pcPercRecExport], 0);
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
  EXPECT_DOUBLE_EQ(p.Receita().TributadaNCum, 600);
  EXPECT_DOUBLE_EQ(p.Receita().NaoTributada, 300);
  EXPECT_DOUBLE_EQ(p.Receita().Exportacao, 100);
  EXPECT_DOUBLE_EQ(p.Receita().Cumulativa, 500);
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecTribNCum), 60);
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecNTrib), 30);
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecExport), 10);
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecCum), 0);
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
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecTribNCum), 40);
  EXPECT_NEAR(p.GetValorCreditoCst(56, pcPercRecCum), 33.3333333, 1e-6);
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
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecTribNCum), 12.345678);
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecNTrib), 80.5);
  EXPECT_DOUBLE_EQ(p.GetValorCreditoCst(56, pcPercRecExport), 7.154322);
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
