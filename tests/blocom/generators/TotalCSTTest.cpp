// Totais por CST: o que a demonstração e os cenários lancamentos-* não alcançam (variantes de
// texto, devolução com débito de receita, regime anterior de caixa, reexecução), com empresas
// pequenas montadas linha a linha.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "blocom/generators/nFisEFDGeradorTotalCST_U.h"
#include "fixtures/Servicos.h"
#include "host/LctoFisTmp.h"
#include "host/Nutildb.h"
#include "host/Servicos.h"

namespace {

class TotalCST : public TServicosTeste {
 protected:
  void SetUp() override {
    TServicosTeste::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    L("PRODUTO").I("CODIGOEMPRESA", 1).I("CODIGOPRODUTO", 1).I("DACONTIPORECEITA", 0).Gravar();
  }
  TLinhaTabela L(const std::string& ATabela) { return TLinhaTabela(Banco(), ATabela); }

  // Venda tributada (uma linha por documento) no estabelecimento 1.
  void Saida(int AChave, const std::string& AData, double ABase, int ACFOP = 5102) {
    L("LCTOFISSAI").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", AChave).D("DATALCTOFIS", AData)
        .Gravar();
    L("LCTOFISSAIPISCOFINS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", AChave)
        .I("CODIGOPRODUTO", 1).I("SEQ", 1).D("DATALCTOFIS", AData).I("CODIGOCFOP", ACFOP).I("CDSITUATRIBUTPIS", 1)
        .I("CDSITUATRIBUTCOFINS", 1).V("ALIQPIS", 1.65).V("ALIQCOFINS", 7.6).V("QUANTIDADE", 0)
        .V("RECEITAPISCOFINS", ABase).V("BASECALCULOPISCOFINS", ABase).T("TIPODEBITOPIS", "4.3.05.01")
        .T("TIPODEBITO", "4.3.05.01").T("CONTACTBEFD", "3.1.1").Gravar();
  }

  std::unique_ptr<TnFisEFDGeradorTotalCST> Totais(bool ACredito, const std::string& AEstab = "") {
    auto t = std::make_unique<TnFisEFDGeradorTotalCST>();
    t->FCodigoEmpresa = 1;
    t->FCodigoEstab = AEstab;
    t->FDataInicial = D("2024-01-01");
    t->FDataFinal = D("2024-01-31");
    t->FProcessarCredito = ACredito;
    t->FProcessarDebito = !ACredito;
    t->FModoApuracao = true;
    return t;
  }
  // Receita do total de PIS por estabelecimento.
  static std::map<int, double> PorEstab(TnFisEFDGeradorTotalCST& t) {
    std::map<int, double> r;
    auto& m = t.FMapTotal;
    for (t.FcurTotalMov->First(); !t.FcurTotalMov->Eof(); t.FcurTotalMov->Next())
      if (m.TipoImposto.AsInteger() == 15)
        r[static_cast<int>(m.CodigoEstab.AsInteger())] += m.ValorTotal.AsFloat();
    for (auto& [e, v] : r) v = std::round(v * 100) / 100;
    return r;
  }
};

// Toda fonte, em toda variante de texto, é preparada e executada contra o esquema; a lista de
// estabelecimentos nunca chega crua ao SQL.
TEST_P(TotalCST, CadaFonteEmCadaVarianteRodaNoEsquema) {
  OpcaoEFD(1, 1, "2023-01-01", 1);
  OpcaoEFD(1, 1, "2024-01-01", 2);
  L("OPCAOLUCROREAL").I("CODIGOEMPRESA", 1).D("DATAOPCAO", "2023-01-01").I("APURALUCROREAL", 1).Gravar();
  int fontes = 0;
  for (bool dacon : {false, true})
    for (bool caixa : {false, true})
      for (const char* estab : {"", "1", "1-3;5"})
        for (const auto& receitas : {TReceitas{rTributadas}, TReceitas{rIsentas}, TReceitas{rTributadas, rIsentas}}) {
          SCOPED_TRACE(std::string("dacon=") + (dacon ? "1" : "0") + " caixa=" + (caixa ? "1" : "0") + " estab=" + estab);
          auto t = Totais(true, estab);
          t->FProcessarDebito = true;
          t->OptanteEFD();
          t->FDacon = dacon;
          t->FRegimeCaixa = caixa;
          t->FReceitas = receitas;
          for (const std::string& sql :
               {t->GetSqlEntradaLcto(), t->GetSqlEntEstoqAbert(), t->GetSqlEntDemaisDoc(), t->GetSqlEntImobCustoInc(),
                t->GetSqlEntImobCustoOrc(), t->GetSqlSaidaLcto(), t->GetSqlSaidaExclu(), t->GetSqlSaidaImob(),
                t->GetSqlSaidaDemaisDoc(), t->GetSqlTotalEFD()}) {
            EXPECT_TRUE(Nutildb::ExecutarSQL(sql, t->GetParams())->Eof());
            ++fontes;
          }
        }
  EXPECT_EQ(fontes, 2 * 2 * 3 * 3 * 10);
  auto t = Totais(false, "1; DROP TABLE X");
  EXPECT_THROW(t->GetFiltroEstabSCP(), EEntradaInvalida);
}

// Devolução lançada com débito de receita: a temporária de devoluções a tira das saídas enquanto a
// guarda existe (a demonstração lança as devoluções com 4.3.05.00, que o filtro de débito já tira).
TEST_P(TotalCST, DevolucoesDaTemporariaFicamForaDasSaidas) {
  Saida(1, "2024-01-05", 1000);
  Saida(2, "2024-01-06", 300, 5202);
  auto receita = [&] {
    auto t = Totais(false);
    t->GerarTotaisLcto(false);
    return PorEstab(*t);
  };
  EXPECT_EQ(receita(), (std::map<int, double>{{1, 1300}}));
  {
    TnGuardaTempDevolucao guarda(1, "", D("2024-01-01"), D("2024-01-31"), false);
    EXPECT_EQ(receita(), (std::map<int, double>{{1, 1000}}));
  }
  EXPECT_EQ(receita(), (std::map<int, double>{{1, 1300}}));  // temporária limpa ao fim da guarda
}

// Regime de caixa: a venda de 2022, anterior à opção da EFD, só conta quando o regime anterior
// também era de caixa; o pagamento de fevereiro nunca conta.
TEST_P(TotalCST, RegimeDeCaixaTomaOsPagamentosDoMesPeloRegimeAnterior) {
  OpcaoEFD(1, 1, "2023-01-01", 2);
  Saida(1, "2023-12-10", 1000);
  Saida(3, "2022-11-10", 500);
  for (auto [chave, lancada, parcela] : {std::tuple{1, "2023-12-10", 500.0}, {3, "2022-11-10", 250.0}}) {
    L("DUPLICATASAI").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVEDUPLICATASAI", chave)
        .I("CHAVELCTOFISSAI", chave).D("DATAEMISSAO", lancada).V("VALORDUPLICATA", 2 * parcela).Gravar();
    for (int seq : {1, 2})
      L("DUPLICATASAIPARCELA").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVEDUPLICATASAI", chave)
          .I("SEQPARCELA", seq).V("VALORPARCELA", parcela).Gravar();
  }
  auto pago = [&](int chave, int seq, const std::string& data, double valor, double desc = -1) {
    auto l = L("DUPLICATASAIPGTO");
    l.I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVEDUPLICATASAI", chave).I("SEQ", seq).I("SEQPARCELA", 1)
        .D("DATAPGTO", data).D("DATALCTOFIS", chave == 1 ? "2023-12-10" : "2022-11-10").V("VALORPAGO", valor);
    if (desc >= 0) l.V("VALORDESCONTO", desc);  // sem desconto: nulo
    l.Gravar();
  };
  pago(1, 1, "2024-01-15", 450, 50);  // (450 + 50 + 100) / 1000 da receita de 1000
  pago(1, 2, "2024-01-20", 100);
  pago(1, 3, "2024-02-15", 400, 0);
  pago(3, 1, "2024-01-20", 250, 0);   // metade da venda de 500
  auto t = Totais(false);
  t->OptanteEFD();
  t->FRegimeCaixa = true;
  t->GerarTotaisLcto(false);
  EXPECT_EQ(PorEstab(*t), (std::map<int, double>{{1, 600}}));
  Banco().Executar("UPDATE OPCAOEFD SET REGIMEAPU = 1");
  OpcaoEFD(1, 1, "2021-01-01", 1);
  Host().Servicos().LimparCaches();
  t->GerarTotaisLcto(false);
  EXPECT_EQ(PorEstab(*t), (std::map<int, double>{{1, 850}}));
}

// O mesmo gerador rodado de novo: novos parâmetros no mesmo dataset e o total esvaziado antes;
// fora do modo apuração, a optante lê os totais já apurados.
TEST_P(TotalCST, ReexecucaoEModoDosTotaisJaApurados) {
  Saida(1, "2024-01-05", 1000);
  Saida(2, "2024-02-05", 300);
  auto t = Totais(false);
  t->GerarTotais();
  EXPECT_TRUE(t->FDacon);  // sem opção da EFD
  EXPECT_EQ(PorEstab(*t), (std::map<int, double>{{1, 1000}}));
  t->FDataInicial = D("2024-02-01");
  t->FDataFinal = D("2024-02-29");
  t->GerarTotais();
  EXPECT_EQ(PorEstab(*t), (std::map<int, double>{{1, 300}}));
  OpcaoEFD(1, 1, "2023-01-01", 2);
  L("TOTALEFDMOV").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).D("DATATOTAL", "2024-02-01").I("SEQ", 1)
      .I("TIPOIMPOSTO", 15).I("CST", 1).T("CODIGOTABSPED", "4.3.05.01").I("CODIGOCFOP", 5102).I("TIPOLCTO", 1)
      .V("VALORTOTAL", 77).V("BASECALCULO", 77).V("VALORCONTRIB", 1.27).Gravar();
  Host().Servicos().LimparCaches();
  t->FModoApuracao = false;
  t->GerarTotais();
  EXPECT_EQ(PorEstab(*t), (std::map<int, double>{{1, 77}}));
}

PISCO_INSTANCIAR_BANCOS(TotalCST);

}  // namespace
