// Totais por CST: cada fonte preparada e executada nos dois bancos e os casos de borda, com
// empresas pequenas montadas linha a linha.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <sstream>

#include "blocom/generators/nFisEFDGeradorTotalCST_U.h"
#include "fixtures/Servicos.h"
#include "host/LctoFisTmp.h"
#include "host/Nutildb.h"
#include "host/Servicos.h"

namespace {

std::string Maiusculas(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

class TotalCST : public TServicosTeste {
 protected:
  // Linha de uma tabela: colunas separadas por espaço, valores na mesma ordem.
  void Linha(const std::string& ATabela, const std::string& AColunas, TParams AValores) {
    std::istringstream in(AColunas);
    std::string cols, vals, c;
    int i = 0;
    while (in >> c) {
      cols += (i ? ", " : "") + c;
      vals += (i ? ", :P" : ":P") + std::to_string(i);
      ++i;
    }
    Banco().Executar("INSERT INTO " + ATabela + " (" + cols + ") VALUES (" + vals + ")", AValores);
  }
  static TVariant I(int64_t v) { return v; }
  static TVariant R(double v) { return v; }
  static TVariant S(const std::string& v) { return v; }
  TVariant Dt(const std::string& v) { return VarDate(D(v)); }

  void Produto(int AEmpresa, int AProduto, int ADacon = 0) {
    Linha("PRODUTO", "CODIGOEMPRESA CODIGOPRODUTO DACONTIPORECEITA", {I(AEmpresa), I(AProduto), I(ADacon)});
  }
  // Entrada com os mesmos CST, alíquotas e tipo de crédito nos dois tributos.
  void Entrada(int AEstab, int AChave, int ASeq, const std::string& AData, int ACFOP, int ACST, double AAliqPis,
               double AAliqCofins, const std::string& ATipo, double ABase, double AQtd = 0) {
    Linha("LCTOFISENTPISCOFINS",
          "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISENT CODIGOPRODUTO SEQ DATALCTOFIS CODIGOCFOP CDSITUATRIBUTPIS "
          "CDSITUATRIBUTCOFINS ALIQPIS ALIQCOFINS QUANTIDADE RECEITAPISCOFINS BASECALCULOPISCOFINS VALORPIS VALORCOFINS "
          "TIPOCREDITO TIPOCREDITOPIS",
          {I(1), I(AEstab), I(AChave), I(1), I(ASeq), Dt(AData), I(ACFOP), I(ACST), I(ACST), R(AAliqPis),
           R(AAliqCofins), R(AQtd), R(ABase), R(ABase), R(std::round(ABase * AAliqPis) / 100),
           R(std::round(ABase * AAliqCofins) / 100), S(ATipo), S(ATipo)});
  }
  // Saída de PIS/COFINS com cabeçalho; SCP: lançada pela ostensiva em nome do estabelecimento.
  void Saida(int AEstab, int AChave, int ASeq, const std::string& AData, int ACFOP, int ACST,
             const std::string& ATipo, double ABase, double AAliqPis = 1.65, double AAliqCofins = 7.6,
             int AEstabSCP = 0, const std::string& AConta = "3.1.1.01.001") {
    if (Contar("SELECT COUNT(*) FROM LCTOFISSAI WHERE CODIGOEMPRESA = 1 AND CHAVELCTOFISSAI = " +
               std::to_string(AChave)) == 0)
      Linha("LCTOFISSAI", "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISSAI DATALCTOFIS CODIGOESTABSCP",
            {I(1), I(AEstab), I(AChave), Dt(AData), AEstabSCP ? I(AEstabSCP) : VarNull()});
    Linha("LCTOFISSAIPISCOFINS",
          "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFISSAI CODIGOPRODUTO SEQ DATALCTOFIS CODIGOCFOP CDSITUATRIBUTPIS "
          "CDSITUATRIBUTCOFINS ALIQPIS ALIQCOFINS QUANTIDADE RECEITAPISCOFINS BASECALCULOPISCOFINS VALORPIS VALORCOFINS "
          "TIPODEBITO TIPODEBITOPIS CONTACTBEFD",
          {I(1), I(AEstab), I(AChave), I(1), I(ASeq), Dt(AData), I(ACFOP), I(ACST), I(ACST), R(AAliqPis),
           R(AAliqCofins), R(0), R(ABase), R(ABase), R(0), R(0), S(ATipo), S(ATipo), S(AConta)});
  }
  void Exclusao(const std::string& ATabela, int AEstab, int ASeq, int ACST, double AAliqPis, double AAliqCofins,
                double AValor, const std::string& AData = "2024-01-20") {
    Linha(ATabela, "CODIGOEMPRESA CODIGOESTAB DATALCTOFIS SEQ CODIGODET CSTDET ALIQPIS ALIQCOFINS VALORDET",
          {I(1), I(AEstab), Dt(AData), I(ASeq), I(101), I(ACST), R(AAliqPis), R(AAliqCofins), R(AValor)});
  }

  std::unique_ptr<TnFisEFDGeradorTotalCST> Totais(bool ACredito, bool ADebito, const std::string& AEstab = "",
                                                  const std::string& AInicio = "2024-01-01",
                                                  const std::string& AFim = "2024-01-31") {
    auto t = std::make_unique<TnFisEFDGeradorTotalCST>();
    t->FCodigoEmpresa = 1;
    t->FCodigoEstab = AEstab;
    t->FDataInicial = D(AInicio);
    t->FDataFinal = D(AFim);
    t->FProcessarCredito = ACredito;
    t->FProcessarDebito = ADebito;
    t->FModoApuracao = true;
    return t;
  }

  struct TLinhaTotal {
    std::string Origem, Codigo, Conta;
    int Estab, Imposto, CST, TipoLcto, CFOP;
    double Valor, Base, Contrib;
  };
  static std::vector<TLinhaTotal> Linhas(TnFisEFDGeradorTotalCST& t, int ATipoLcto = -1) {
    std::vector<TLinhaTotal> r;
    auto& m = t.FMapTotal;
    for (t.FcurTotalMov->First(); !t.FcurTotalMov->Eof(); t.FcurTotalMov->Next())
      if (ATipoLcto < 0 || m.TipoLcto.AsInteger() == ATipoLcto)
        r.push_back({m.Origem.AsString(), m.CodigoTabSPED.AsString(), m.ContaCtb.AsString(),
                     static_cast<int>(m.CodigoEstab.AsInteger()), static_cast<int>(m.TipoImposto.AsInteger()),
                     static_cast<int>(m.CST.AsInteger()), static_cast<int>(m.TipoLcto.AsInteger()),
                     static_cast<int>(m.CodigoCFOP.AsInteger()), m.ValorTotal.AsFloat(), m.BaseCalculo.AsFloat(),
                     m.ValorContrib.AsFloat()});
    t.FcurTotalMov->First();
    return r;
  }
  static int Contar(TDataSet& ADataSet) {
    int n = 0;
    for (ADataSet.First(); !ADataSet.Eof(); ADataSet.Next()) ++n;
    ADataSet.First();
    return n;
  }
  int64_t Contar(const std::string& ASQL) { return TServicosTeste::Contar(ASQL); }
};

// ------------------------------------------------------------------ textos das fontes

TEST(TotalCSTListas, CSTsDaReceitaPorPeriodoETipoDeTotal) {
  TnFisEFDGeradorTotalCST t;
  t.FDataInicial = EncodeDate(2013, 9, 1);
  EXPECT_EQ(t.GetFiltroCSTReceita(), "01, 02, 03, 05");
  t.FReceitas = {rTributadas, rIsentas};
  EXPECT_EQ(t.GetFiltroCSTReceita(), "01, 02, 03, 05, 04, 06, 07, 08, 09");
  t.FDataInicial = EncodeDate(2013, 8, 1);  // o corte é agosto de 2013
  EXPECT_EQ(t.GetFiltroCSTReceita(), "01, 02, 03, 05, 04, 06, 07, 08, 09");
  t.FDataInicial = EncodeDate(2013, 7, 1);
  EXPECT_EQ(t.GetFiltroCSTReceita(), "01, 02, 03, 05, 04, 05, 06, 07, 08, 09");
  t.FDataInicial = EncodeDate(2013, 9, 1);
  t.FTipoTotal = TTipoTotal::tnTotalEFDMov;  // o total do movimento mantém o 05 em qualquer período
  t.FReceitas = {rIsentas};
  EXPECT_EQ(t.GetFiltroCSTReceita(), "04, 05, 06, 07, 08, 09");
  t.FReceitas = {};
  EXPECT_EQ(t.GetFiltroCSTReceita(), "00");
  t.FReceitas = {rOutras};
  EXPECT_EQ(t.GetFiltroCSTReceita(), "00");
}

TEST(TotalCSTListas, BensComCSTSemCreditoETipoDeCredito) {
  for (int cst : {70, 71, 72, 73, 74, 75, 98, 99}) EXPECT_FALSE(TnFisEFDGeradorTotalCST::EhCSTValidaParaGerarCredito(cst));
  for (int cst : {50, 56, 60, 66, 69, 76}) EXPECT_TRUE(TnFisEFDGeradorTotalCST::EhCSTValidaParaGerarCredito(cst));
  EXPECT_EQ(TnFisEFDGeradorTotalCST::GetTipoCreditoBem(6), "4.3.07.09");
  EXPECT_EQ(TnFisEFDGeradorTotalCST::GetTipoCreditoBem(7), "4.3.07.11");
  EXPECT_EQ(TnFisEFDGeradorTotalCST::GetTipoCreditoBem(1), "4.3.07.10");
  EXPECT_EQ(TnFisEFDGeradorTotalCST::GetTipoCreditoBem(9), "4.3.07.10");
}

TEST(TotalCSTListas, FiltroDoEstabelecimentoNaFormaSCP) {
  TnFisEFDGeradorTotalCST t;
  EXPECT_EQ(t.GetFiltroEstabSCP(), "");
  t.FCodigoEstab = " 3 ";
  const std::string f = t.GetFiltroEstabSCP();
  EXPECT_NE(f.find("LS.CODIGOESTAB"), std::string::npos) << f;
  EXPECT_NE(f.find("(LS.CODIGOESTABSCP is null)"), std::string::npos) << f;
  EXPECT_EQ(f.rfind(" and ((", 0), 0u) << f;
  t.FCodigoEstab = "1; DROP TABLE X";
  EXPECT_THROW(t.GetFiltroEstabSCP(), EEntradaInvalida);
}

// Toda fonte, em toda variante de texto, é preparada e executada contra o esquema.
TEST_P(TotalCST, CadaFonteEmCadaVarianteRodaNoEsquema) {
  OpcaoEFD(1, 1, "2023-01-01", 1);
  OpcaoEFD(1, 1, "2024-01-01", 2);
  Linha("OPCAOLUCROREAL", "CODIGOEMPRESA DATAOPCAO APURALUCROREAL", {I(1), Dt("2023-01-01"), I(1)});
  int fontes = 0;
  for (bool dacon : {false, true})
    for (bool caixa : {false, true})
      for (const char* estab : {"", "1", "1-3;5"})
        for (const auto& receitas : {TReceitas{rTributadas}, TReceitas{rIsentas}, TReceitas{rTributadas, rIsentas}}) {
          SCOPED_TRACE(std::string("dacon=") + (dacon ? "1" : "0") + " caixa=" + (caixa ? "1" : "0") + " estab=" + estab);
          auto t = Totais(true, true, estab);
          t->OptanteEFD();
          t->FDacon = dacon;
          t->FRegimeCaixa = caixa;
          t->FReceitas = receitas;
          for (const std::string& sql :
               {t->GetSqlEntradaLcto(), t->GetSqlEntEstoqAbert(), t->GetSqlEntDemaisDoc(), t->GetSqlEntImobCustoInc(),
                t->GetSqlEntImobCustoOrc(), t->GetSqlSaidaLcto(), t->GetSqlSaidaExclu(), t->GetSqlSaidaImob(),
                t->GetSqlSaidaDemaisDoc(), t->GetSqlTotalEFD()}) {
            auto ds = Nutildb::ExecutarSQL(sql, t->GetParams());
            EXPECT_TRUE(ds->Eof());
            ++fontes;
          }
          t->GerarTotaisLcto(dacon);
          EXPECT_TRUE(t->FcurTotalMov->IsEmpty());
        }
  EXPECT_EQ(fontes, 2 * 2 * 3 * 3 * 10);
}

// ------------------------------------------------------------------ acumulação e exclusões

TEST_P(TotalCST, LinhasDeMesmaChaveSomamNumaSoLinha) {
  Produto(1, 1);
  // Alíquotas diferentes saem em linhas separadas da consulta e caem na mesma chave do total.
  Entrada(1, 1, 1, "2024-01-05", 1102, 50, 1.65, 7.6, "4.3.07.01", 1000);
  Entrada(1, 2, 1, "2024-01-06", 1102, 50, 0.8, 3.7, "4.3.07.01", 500);
  Entrada(1, 3, 1, "2024-01-07", 2102, 50, 1.65, 7.6, "4.3.07.01", 200);  // outro CFOP
  Entrada(1, 4, 1, "2024-01-08", 1102, 73, 1.65, 7.6, "4.3.07.01", 999);  // CST sem crédito
  Entrada(1, 5, 1, "2024-01-08", 1102, 50, 0, 0, "4.3.07.01", 888);       // alíquota zero
  Entrada(1, 6, 1, "2024-02-01", 1102, 50, 1.65, 7.6, "4.3.07.01", 777);  // fora do período
  auto t = Totais(true, false);
  t->GerarTotaisLcto(false);
  EXPECT_EQ(Contar(*t->FcurEntradaLcto), 6);  // 3 grupos por tributo
  const auto l = Linhas(*t, tplEntrada);
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[0].Origem, "A");
  EXPECT_EQ(l[0].Imposto, 15);
  EXPECT_EQ(l[0].CFOP, 1102);
  EXPECT_EQ(l[0].Codigo, "4.3.07.01");
  EXPECT_NEAR(l[0].Valor, 1500, 0.001);
  EXPECT_NEAR(l[0].Base, 1500, 0.001);
  EXPECT_NEAR(l[0].Contrib, 16.50 + 4.00, 0.001);
  EXPECT_EQ(l[1].CFOP, 2102);
  EXPECT_EQ(l[2].Imposto, 16);
  EXPECT_NEAR(l[2].Contrib, 76.00 + 18.50, 0.001);
}

TEST_P(TotalCST, ExclusaoReduzSoAPrimeiraSaidaDoCST) {
  Produto(1, 1);
  Saida(1, 1, 1, "2024-01-05", 5102, 1, "4.3.05.01", 1000);
  Saida(1, 2, 1, "2024-01-06", 5102, 1, "4.3.05.02", 800, 2.1, 9.65);
  Saida(1, 3, 1, "2024-01-06", 5102, 2, "4.3.05.02", 300, 2.1, 9.65);
  Exclusao("EFDDEDUCAOEXCLUSAO", 1, 1, 1, 1.65, 7.6, 100);
  Exclusao("EFDDEDUCAOEXCLUSAO", 1, 2, 5, 1.65, 7.6, 50);   // CST sem saída: ignorada
  Exclusao("EFDDEDUCAOEXCLUSAO", 2, 3, 1, 1.65, 7.6, 40);   // estabelecimento sem saída
  auto t = Totais(false, true);
  t->GerarTotaisLcto(false);
  const auto l = Linhas(*t, tplSaida);
  ASSERT_EQ(l.size(), 6u);
  // PIS, CST 01: a primeira na ordem do índice é a de código 4.3.05.01
  EXPECT_EQ(l[0].Codigo, "4.3.05.01");
  EXPECT_NEAR(l[0].Base, 900, 0.001);
  EXPECT_NEAR(l[0].Contrib, 16.50 - 1.65, 0.001);
  EXPECT_NEAR(l[0].Valor, 1000, 0.001);  // a receita não muda
  EXPECT_EQ(l[1].Codigo, "4.3.05.02");
  EXPECT_NEAR(l[1].Base, 800, 0.001);
  EXPECT_NEAR(l[1].Contrib, 16.80, 0.001);
  EXPECT_NEAR(l[2].Base, 300, 0.001);  // CST 02 sem exclusão
  // COFINS: 100 a 7,6% = 7,60
  EXPECT_EQ(l[3].Imposto, 16);
  EXPECT_NEAR(l[3].Base, 900, 0.001);
  EXPECT_NEAR(l[3].Contrib, 76.00 - 7.60, 0.001);
  EXPECT_EQ(Contar(*t->FcurSaidaExclu), 6);  // o dataset fica inteiro para o M210/M610
}

TEST_P(TotalCST, ExclusoesDoCaminhoDaconPeloRegimeDaEmpresa) {
  Produto(1, 1);
  Saida(1, 1, 1, "2024-01-05", 5102, 1, "4.3.05.01", 1000);
  Exclusao("LUCROREALDEDUCAOEXCLUSAO", 1, 1, 1, 1.65, 7.6, 10);
  Exclusao("LUCROPRESDEDUCAOEXCLUSAO", 1, 1, 1, 1.65, 7.6, 20);
  Exclusao("EFDDEDUCAOEXCLUSAO", 1, 1, 1, 1.65, 7.6, 30);
  auto base = [&](bool dacon) {
    auto t = Totais(false, true);
    t->GerarTotaisLcto(dacon);
    return Linhas(*t, tplSaida).at(0).Base;
  };
  EXPECT_NEAR(base(false), 970, 0.001);
  EXPECT_NEAR(base(true), 980, 0.001);  // sem lucro real: presumido
  Linha("OPCAOLUCROREAL", "CODIGOEMPRESA DATAOPCAO APURALUCROREAL", {I(1), Dt("2023-06-01"), I(1)});
  Host().Servicos().LimparCaches();
  EXPECT_NEAR(base(true), 990, 0.001);
}

// ------------------------------------------------------------------ listas de CST por período

TEST_P(TotalCST, CST05EhReceitaIsentaSoAntesDeAgostoDe2013) {
  Produto(1, 1);
  Saida(1, 1, 1, "2013-07-10", 5102, 5, "4.3.10.101", 100, 0, 0);
  Saida(1, 2, 1, "2013-09-10", 5102, 5, "4.3.10.101", 200, 0, 0);
  Saida(1, 3, 1, "2013-09-11", 5102, 6, "4.3.11.101", 300, 0, 0);
  auto receita = [&](const char* ini, const char* fim) {
    auto t = Totais(false, true, "", ini, fim);
    t->FReceitas = {rIsentas};
    t->GerarTotaisLcto(false);
    double r = 0;
    for (const auto& l : Linhas(*t, tplSaida))
      if (l.Imposto == 15) r += l.Valor;
    return r;
  };
  EXPECT_NEAR(receita("2013-07-01", "2013-07-31"), 100, 0.001);
  EXPECT_NEAR(receita("2013-09-01", "2013-09-30"), 300, 0.001);
}

// ------------------------------------------------------------------ ativo imobilizado

TEST_P(TotalCST, BemComCSTExcluidoNaoGeraLinha) {
  auto bem = [&](int numero, int tipoDacon, int cstPis, int cstCofins, double quota) {
    Linha("PATBEM", "CODIGOEMPRESA NUMEROBEM CODIGOESTAB DESCRICAOBEM ORIGEMBEM",
          {I(1), I(numero), I(1), S("BEM " + std::to_string(numero)), I(0)});
    Linha("PATCFGDACON", "CODIGOEMPRESA NUMEROBEM DATAINICIAL TIPODACONCREDITO TIPOAPURACAO",
          {I(1), I(numero), Dt("2023-01-01"), I(tipoDacon), I(0)});
    Linha("PATCREDITODACON",
          "CODIGOEMPRESA CODIGOESTAB NUMEROBEM PERIODO CSTPIS CSTCOFINS ALIQPIS ALIQCOFINS QUOTAMENSAL CREDITOPIS "
          "CREDITOCOFINS",
          {I(1), I(1), I(numero), Dt("2024-01-01"), I(cstPis), I(cstCofins), R(1.65), R(7.6), R(quota),
           R(std::round(quota * 1.65) / 100), R(std::round(quota * 7.6) / 100)});
  };
  bem(1, 6, 50, 50, 1000);
  bem(2, 7, 50, 50, 2000);
  bem(3, 1, 50, 98, 3000);  // COFINS sem crédito: o bem inteiro fica de fora
  bem(4, 1, 73, 50, 4000);
  auto t = Totais(true, false);
  t->GerarTotaisLcto(false);
  EXPECT_EQ(Contar(*t->FcurEntCreditoBem), 2);
  const auto l = Linhas(*t, tplCreditosPAT);
  ASSERT_EQ(l.size(), 4u);
  EXPECT_EQ(l[0].Codigo, "4.3.07.09");
  EXPECT_NEAR(l[0].Base, 1000, 0.001);
  EXPECT_NEAR(l[0].Contrib, 16.50, 0.001);
  EXPECT_EQ(l[1].Codigo, "4.3.07.11");
  EXPECT_EQ(l[3].Imposto, 16);
  EXPECT_NEAR(l[3].Contrib, 152.00, 0.001);
  auto& m = t->FMapCreditoBem;
  t->FcurEntCreditoBem->First();
  EXPECT_EQ(m.TipoCredito.AsString(), "4.3.07.09");
  EXPECT_EQ(m.DescricaoBem.AsString(), "BEM 1");
}

// ------------------------------------------------------------------ devoluções e SCP

TEST_P(TotalCST, DevolucoesDaTemporariaFicamForaDasSaidas) {
  Produto(1, 1);
  Saida(1, 1, 1, "2024-01-05", 5102, 1, "4.3.05.01", 1000);
  Saida(1, 2, 1, "2024-01-06", 5202, 1, "4.3.05.01", 300);  // devolução com CST de receita
  auto receita = [&] {
    auto t = Totais(false, true);
    t->GerarTotaisLcto(false);
    double r = 0;
    for (const auto& l : Linhas(*t, tplSaida))
      if (l.Imposto == 15) r += l.Valor;
    return r;
  };
  EXPECT_NEAR(receita(), 1300, 0.001);
  {
    TnGuardaTempDevolucao guarda(1, "", D("2024-01-01"), D("2024-01-31"), false);
    EXPECT_NEAR(receita(), 1000, 0.001);
  }
  EXPECT_NEAR(receita(), 1300, 0.001);  // temporária limpa ao fim da execução
}

TEST_P(TotalCST, SaidaLancadaEmNomeDaSCPEhDaSCP) {
  Produto(1, 1);
  Saida(1, 1, 1, "2024-01-05", 5102, 1, "4.3.05.01", 1000);
  Saida(1, 2, 1, "2024-01-06", 5102, 1, "4.3.05.01", 400, 1.65, 7.6, 3);
  Saida(3, 3, 1, "2024-01-07", 5102, 1, "4.3.05.01", 50);
  auto porEstab = [&](const std::string& estab) {
    auto t = Totais(false, true, estab);
    t->GerarTotaisLcto(false);
    std::map<int, double> r;
    for (const auto& l : Linhas(*t, tplSaida))
      if (l.Imposto == 15) r[l.Estab] += l.Valor;
    return r;
  };
  EXPECT_EQ(porEstab(""), (std::map<int, double>{{1, 1000}, {3, 450}}));
  EXPECT_EQ(porEstab("1"), (std::map<int, double>{{1, 1000}}));
  EXPECT_EQ(porEstab("3"), (std::map<int, double>{{3, 450}}));
}

// ------------------------------------------------------------------ regime de caixa

TEST_P(TotalCST, RegimeDeCaixaTomaAsSaidasPelaDataDoPagamento) {
  OpcaoEFD(1, 1, "2023-01-01", 2);
  Produto(1, 1);
  // Dezembro, paga em janeiro: 60% (com desconto) da duplicata de 1000 em duas parcelas.
  Saida(1, 1, 1, "2023-12-10", 5102, 1, "4.3.05.01", 1000);
  // Janeiro, nada pago: fica de fora no regime de caixa.
  Saida(1, 2, 1, "2024-01-10", 5102, 1, "4.3.05.01", 700);
  // Novembro de 2022, antes da opção da EFD, paga em janeiro: fica de fora (regime anterior
  // não era de caixa).
  Saida(1, 3, 1, "2022-11-10", 5102, 1, "4.3.05.01", 500);
  auto dup = [&](int chave, int lcto, const std::string& lancada, double valor) {
    Linha("DUPLICATASAI", "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI CHAVELCTOFISSAI DATAEMISSAO VALORDUPLICATA",
          {I(1), I(1), I(chave), I(lcto), Dt(lancada), R(valor)});
    Linha("DUPLICATASAIPARCELA", "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI SEQPARCELA VALORPARCELA",
          {I(1), I(1), I(chave), I(1), R(valor / 2)});
    Linha("DUPLICATASAIPARCELA", "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI SEQPARCELA VALORPARCELA",
          {I(1), I(1), I(chave), I(2), R(valor / 2)});
  };
  dup(1, 1, "2023-12-10", 1000);
  dup(2, 2, "2024-01-10", 700);
  dup(3, 3, "2022-11-10", 500);
  Linha("DUPLICATASAIPGTO",
        "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI SEQ SEQPARCELA DATAPGTO DATALCTOFIS VALORPAGO VALORDESCONTO",
        {I(1), I(1), I(1), I(1), I(1), Dt("2024-01-15"), Dt("2023-12-10"), R(450), R(50)});
  Linha("DUPLICATASAIPGTO",
        "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI SEQ SEQPARCELA DATAPGTO DATALCTOFIS VALORPAGO VALORDESCONTO",
        {I(1), I(1), I(1), I(2), I(2), Dt("2024-02-15"), Dt("2023-12-10"), R(500), R(0)});  // fevereiro
  Linha("DUPLICATASAIPGTO",
        "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI SEQ SEQPARCELA DATAPGTO DATALCTOFIS VALORPAGO VALORDESCONTO",
        {I(1), I(1), I(1), I(3), I(2), Dt("2024-01-20"), Dt("2023-12-10"), R(100), VarNull()});
  Linha("DUPLICATASAIPGTO",
        "CODIGOEMPRESA CODIGOESTAB CHAVEDUPLICATASAI SEQ SEQPARCELA DATAPGTO DATALCTOFIS VALORPAGO VALORDESCONTO",
        {I(1), I(1), I(3), I(1), I(1), Dt("2024-01-20"), Dt("2022-11-10"), R(250), R(0)});
  auto t = Totais(false, true);
  t->OptanteEFD();
  t->FRegimeCaixa = true;
  t->GerarTotaisLcto(false);
  auto l = Linhas(*t, tplSaida);
  ASSERT_EQ(l.size(), 2u);
  EXPECT_NEAR(l[0].Valor, 600, 0.001);  // (450 + 50) / 1000 e 100 / 1000 da receita de 1000
  EXPECT_NEAR(l[0].Base, 600, 0.001);
  EXPECT_NEAR(l[0].Contrib, 8.25 + 1.65, 0.001);
  // Regime anterior de caixa: o pagamento da venda de 2022 também conta.
  Banco().Executar("UPDATE OPCAOEFD SET REGIMEAPU = 1");
  Host().Servicos().LimparCaches();
  OpcaoEFD(1, 1, "2021-01-01", 1);
  Host().Servicos().LimparCaches();
  t->GerarTotaisLcto(false);
  l = Linhas(*t, tplSaida);
  EXPECT_NEAR(l[0].Valor, 850, 0.001);
}

// ------------------------------------------------------------------ caminhos e reexecução

TEST_P(TotalCST, FontesDeTextoIgualSaoReexecutadasNoMesmoDataset) {
  Produto(1, 1);
  Saida(1, 1, 1, "2024-01-05", 5102, 1, "4.3.05.01", 1000);
  Saida(1, 2, 1, "2024-02-05", 5102, 1, "4.3.05.01", 300);
  auto t = Totais(false, true);
  t->GerarTotaisLcto(false);
  TnClientDataSet* antes = t->FcurSaidaLcto.get();
  t->FDataInicial = D("2024-02-01");
  t->FDataFinal = D("2024-02-29");
  t->GerarTotaisLcto(false);
  EXPECT_EQ(t->FcurSaidaLcto.get(), antes);  // mesmo texto: mesmo objeto, novos parâmetros
  ASSERT_EQ(Linhas(*t, tplSaida).size(), 2u);
  EXPECT_NEAR(Linhas(*t, tplSaida)[0].Valor, 300, 0.001);  // o total foi esvaziado antes
  t->FCodigoEstab = "1";
  t->GerarTotaisLcto(false);
  EXPECT_NEAR(Linhas(*t, tplSaida)[0].Valor, 300, 0.001);
  EXPECT_EQ(Maiusculas(t->FcurSaidaLcto->CommandText()), Maiusculas(t->GetSqlSaidaLcto()));
}

TEST_P(TotalCST, CaminhoEscolhidoPelaOpcaoDaEFD) {
  Produto(1, 1);
  Saida(1, 1, 1, "2024-01-05", 5102, 1, "4.3.05.01", 1000);
  Linha("TOTALEFDMOV",
        "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ TIPOIMPOSTO CST CODIGOTABSPED CODIGOCFOP TIPOLCTO VALORTOTAL "
        "BASECALCULO VALORCONTRIB",
        {I(1), I(1), Dt("2024-01-01"), I(1), I(15), I(1), S("4.3.05.01"), I(5102), I(1), R(77), R(77), R(1.27)});
  Linha("TOTALEFDMOV",
        "CODIGOEMPRESA CODIGOESTAB DATATOTAL SEQ TIPOIMPOSTO CST CODIGOTABSPED CODIGOCFOP TIPOLCTO VALORTOTAL "
        "BASECALCULO VALORCONTRIB",
        {I(1), I(1), Dt("2024-01-01"), I(2), I(15), I(50), S("4.3.07.18"), I(0), I(2), R(10), R(10), R(0.17)});
  auto t = Totais(false, true);
  t->GerarTotais();  // sem opção da EFD: lançamentos, caminho DACON
  EXPECT_TRUE(t->FDacon);
  EXPECT_NEAR(Linhas(*t).at(0).Valor, 1000, 0.001);
  OpcaoEFD(1, 1, "2023-01-01", 2);
  Host().Servicos().LimparCaches();
  t->FModoApuracao = false;
  t->GerarTotais();  // optante, sem modo apuração: totais já apurados
  auto l = Linhas(*t);
  ASSERT_EQ(l.size(), 2u);
  EXPECT_EQ(l[0].Origem, "A");  // TIPOLCTO 2 é crédito
  EXPECT_NEAR(l[1].Valor, 77, 0.001);
  t->FModoApuracao = true;
  t->GerarTotais();
  EXPECT_FALSE(t->FDacon);
  EXPECT_NEAR(Linhas(*t).at(0).Valor, 1000, 0.001);
}

PISCO_INSTANCIAR_BANCOS(TotalCST);

}  // namespace
