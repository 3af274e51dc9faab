// Totais por CST com empresas pequenas montadas linha a linha: cada fonte e seus campos, variantes
// de texto, devolução com débito de receita, regime anterior de caixa e reexecução.
#include <fmt/format.h>
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

// Uma linha de cada fonte, com valores distintos por coluna e por imposto, e as linhas que os
// filtros tiram (alíquota zero, CST sem crédito, outro mês): cada linha do total diz de que
// coluna, tabela e imposto veio cada valor. Na EFD o estoque apropria 1/12 do crédito; no
// lucro real, a parcela já é a do mês e a exclusão vem da tabela do lucro real.
TEST_P(TotalCST, CadaFonteEntraNoTotalComOsSeusCampos) {
  Saida(1, "2024-01-05", 1000);
  Saida(2, "2024-01-06", 500);  // lançada na matriz em nome da SCP 3: receita da SCP
  Banco().Executar("UPDATE LCTOFISSAI SET CODIGOESTABSCP = 3 WHERE CHAVELCTOFISSAI = 2");
  for (const char* sql : {
           "INSERT INTO LCTOFISENTPISCOFINS (CODIGOEMPRESA, CODIGOESTAB, CHAVELCTOFISENT, CODIGOPRODUTO, SEQ, DATALCTOFIS,"
           " CODIGOCFOP, CDSITUATRIBUTPIS, CDSITUATRIBUTCOFINS, TIPOCREDITOPIS, TIPOCREDITO, ALIQPIS, ALIQCOFINS,"
           " QUANTIDADE, RECEITAPISCOFINS, BASECALCULOPISCOFINS, VALORPIS, VALORCOFINS) VALUES"
           " (1, 1, 1, 1, 1, '2024-01-03', 1102, 50, 51, '4.3.07.01', '4.3.07.02', 1.65, 7.6, 0, 1000, 900, 14.85, 68.4),"
           " (1, 1, 2, 1, 1, '2024-01-03', 1101, 50, 51, '4.3.07.01', '4.3.07.02', 0, 0, 0, 10, 10, 0, 0),"
           " (1, 1, 3, 1, 1, '2024-01-03', 1101, 70, 70, '4.3.07.01', '4.3.07.02', 1.65, 7.6, 0, 20, 20, 0.33, 1.52)",
           "INSERT INTO EFDCREDPRESESTOQABERT (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, VLRTOTEST, VLRBCMENEST, CSTPIS,"
           " ALIQPIS, VLRCREDPIS, CSTCOFINS, ALIQCOFINS, VLRCREDCOFINS, TIPOAPURACAO)"
           " VALUES (1, 1, '2024-01-10', 1, 1200, 100, 50, 1.65, 19.8, 51, 7.6, 91.2, 0)",
           "INSERT INTO LUCROREALCREDPRESESTOQABERT (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, VLRTOTEST, VLRBCMENEST,"
           " CSTPIS, ALIQPIS, VLRCREDPIS, CSTCOFINS, ALIQCOFINS, VLRCREDCOFINS)"
           " VALUES (1, 1, '2024-01-10', 1, 600, 50, 50, 1.65, 0.83, 51, 7.6, 3.8)",
           "INSERT INTO EFDF100DEMAISDOC (CODIGOEMPRESA, CODIGOESTAB, SEQ, DATALCTOFIS, INDOPER, VALOROPER, CST, CSTCOFINS,"
           " ALIQPIS, ALIQCOFINS, BASECALCULO, VALORPIS, VALORCOFINS, TIPOCREDITO, TIPOCREDITOCOFINS, TIPODEBITO,"
           " TIPODEBITOCOFINS, CONTACTB) VALUES"
           " (1, 1, 1, '2024-01-12', 0, 500, 50, 51, 1.65, 7.6, 400, 6.6, 30.4, '4.3.07.03', '4.3.07.04', '', '', '1.1'),"
           " (1, 1, 2, '2024-01-12', 0, 50, 50, 51, 1.65, 7.6, 50, 0.83, 3.8, '4.3.07.03', '4.3.07.04', '', '', '1.2'),"
           " (1, 1, 3, '2024-01-12', 1, 2000, 1, 2, 1.65, 7.6, 1900, 31.35, 144.4, '', '', '4.3.05.01', '4.3.05.02', '3.9'),"
           " (1, 1, 4, '2024-01-12', 2, 300, 6, 7, 0, 0, 0, 0, 0, '', '', '4.3.05.03', '4.3.05.04', '3.9'),"
           " (1, 1, 5, '2024-02-12', 1, 99, 1, 2, 1.65, 7.6, 99, 1.63, 7.52, '', '', '4.3.05.01', '4.3.05.02', '3.9')",
           "INSERT INTO EFDUNIDIMOBVENDIDA (CODIGOEMPRESA, CODIGOESTAB, NUMCADIMOB, COMPRECEB, SEQUENCIA, TIPODEBITOPIS,"
           " TIPODEBITO, VLTOTREC, VLBC, VLPIS, VLCOFINS, CSTPIS, CSTCOFINS, ALIQPIS, ALIQCOFINS)"
           " VALUES (1, 1, 'A1', '2024-01-15', 1, '4.3.05.11', '4.3.05.12', 800, 700, 11.55, 53.2, 1, 2, 1.65, 7.6)",
           "INSERT INTO EFDUNIDIMOBCUSTOINC (CODIGOEMPRESA, CODIGOESTAB, NUMCADIMOB, COMPRECEB, SEQUENCIA, TIPOCREDITOPIS,"
           " TIPOCREDITO, VLCUSINCPERESC, VLBCCUSINC, VLCREDPISDESC, VLCREDCOFINSDESC, CSTPIS, CSTCOFINS, ALIQPIS,"
           " ALIQCOFINS) VALUES (1, 1, 'A1', '2024-01-15', 1, '4.3.07.05', '4.3.07.06', 300, 250, 4.13, 19, 50, 51, 1.65, 7.6)",
           "INSERT INTO EFDUNIDIMOBCUSTOORC (CODIGOEMPRESA, CODIGOESTAB, NUMCADIMOB, COMPRECEB, SEQUENCIA, TIPOCREDITOPIS,"
           " TIPOCREDITO, VLEXC, VLBCCRED, VLCREDPISUTIL, VLCREDCOFINSUTIL, CSTPIS, CSTCOFINS, ALIQPIS, ALIQCOFINS)"
           " VALUES (1, 1, 'A1', '2024-01-15', 1, '4.3.07.07', '4.3.07.08', 200, 150, 2.48, 11.4, 50, 51, 1.65, 7.6)",
           "INSERT INTO PATBEM (CODIGOEMPRESA, NUMEROBEM, CODIGOESTAB, ORIGEMBEM) VALUES (1, 1, 1, 0), (1, 2, 1, 0)",
           "INSERT INTO PATCFGDACON (CODIGOEMPRESA, NUMEROBEM, DATAINICIAL, TIPODACONCREDITO, TIPOAPURACAO) VALUES"
           " (1, 1, '2020-01-01', 7, 0), (1, 2, '2020-01-01', 6, 0)",
           "INSERT INTO PATCREDITODACON (CODIGOEMPRESA, CODIGOESTAB, NUMEROBEM, PERIODO, CSTPIS, CSTCOFINS, ALIQPIS,"
           " ALIQCOFINS, QUOTAMENSAL, CREDITOPIS, CREDITOCOFINS) VALUES"
           " (1, 1, 1, '2024-01-01', 50, 51, 1.65, 7.6, 60, 0.99, 4.56), (1, 1, 2, '2024-01-01', 50, 99, 1.65, 7.6, 30, 0.5, 2.28)",
           "INSERT INTO EFDDEDUCAOEXCLUSAO (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, CODIGODET, CSTDET, ALIQPIS,"
           " ALIQCOFINS, VALORDET) VALUES (1, 1, '2024-01-20', 1, 1, 1, 1.65, 7.6, 100)",
           "INSERT INTO LUCROREALDEDUCAOEXCLUSAO (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, CODIGODET, CSTDET, ALIQPIS,"
           " ALIQCOFINS, VALORDET) VALUES (1, 1, '2024-01-20', 1, 1, 1, 1.65, 7.6, 200)",
           "INSERT INTO LUCROPRESDEDUCAOEXCLUSAO (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, CODIGODET, CSTDET, ALIQPIS,"
           " ALIQCOFINS, VALORDET) VALUES (1, 1, '2024-01-20', 1, 1, 1, 1.65, 7.6, 300)",
           "INSERT INTO OPCAOLUCROREAL (CODIGOEMPRESA, DATAOPCAO, APURALUCROREAL) VALUES (1, '2023-01-01', 1)"})
    Banco().Executar(sql);
  // estabelecimento|origem|imposto|CST|código|tipo|CFOP|conta -> receita / base / contribuição
  std::map<std::string, std::string> esperado = {
      {"1|A|15|50|4.3.07.01|0|1102|", "1000.00/900.00/14.85"},   {"1|A|16|51|4.3.07.02|0|1102|", "1000.00/900.00/68.40"},
      {"1|A|15|50|4.3.07.18|2|0|", "1200.00/100.00/1.65"},        {"1|A|16|51|4.3.07.18|2|0|", "1200.00/100.00/7.60"},
      {"1|A|15|50|4.3.07.11|3|0|", "60.00/60.00/0.99"},           {"1|A|16|51|4.3.07.11|3|0|", "60.00/60.00/4.56"},
      {"1|A|15|50|4.3.07.03|7|0|", "550.00/450.00/7.43"},         {"1|A|16|51|4.3.07.04|7|0|", "550.00/450.00/34.20"},
      {"1|A|15|50|4.3.07.05|5|0|", "300.00/250.00/4.13"},         {"1|A|16|51|4.3.07.06|5|0|", "300.00/250.00/19.00"},
      {"1|A|15|50|4.3.07.07|6|0|", "200.00/150.00/2.48"},         {"1|A|16|51|4.3.07.08|6|0|", "200.00/150.00/11.40"},
      {"1|B|15|1|4.3.05.01|1|5102|3.1.1", "1000.00/900.00/14.85"}, {"1|B|16|1|4.3.05.01|1|5102|3.1.1", "1000.00/900.00/68.40"},
      {"1|B|15|1|4.3.05.11|4|0|", "800.00/700.00/11.55"},         {"1|B|16|2|4.3.05.12|4|0|", "800.00/700.00/53.20"},
      {"1|B|15|1|4.3.05.01|8|0|3.9", "2000.00/1900.00/31.35"},    {"1|B|16|2|4.3.05.02|8|0|3.9", "2000.00/1900.00/144.40"},
      {"1|B|15|6|4.3.05.03|8|0|3.9", "300.00/0.00/0.00"},         {"1|B|16|7|4.3.05.04|8|0|3.9", "300.00/0.00/0.00"},
      {"3|B|15|1|4.3.05.01|1|5102|3.1.1", "500.00/500.00/8.25"},  {"3|B|16|1|4.3.05.01|1|5102|3.1.1", "500.00/500.00/38.00"}};
  auto obtido = [&](bool ADacon, const std::string& AEstab) {
    auto t = Totais(true, AEstab);
    t->FProcessarDebito = true;
    t->FReceitas = {rTributadas, rIsentas};
    t->GerarTotaisLcto(ADacon);
    std::map<std::string, std::string> r;
    auto& m = t->FMapTotal;
    for (t->FcurTotalMov->First(); !t->FcurTotalMov->Eof(); t->FcurTotalMov->Next()) {
      const auto chave = fmt::format("{}|{}|{}|{}|{}|{}|{}|{}", m.CodigoEstab.AsInteger(), m.Origem.AsString(), m.TipoImposto.AsInteger(), m.CST.AsInteger(),
                    m.CodigoTabSPED.AsString(), m.TipoLcto.AsInteger(), m.CodigoCFOP.AsInteger(), m.ContaCtb.AsString());
      // a mesma chave vinda de duas linhas da fonte tem de sair somada numa linha só
      EXPECT_TRUE(r.emplace(chave, fmt::format("{:.2f}/{:.2f}/{:.2f}", m.ValorTotal.AsFloat(), m.BaseCalculo.AsFloat(),
                                                m.ValorContrib.AsFloat()))
                      .second)
          << "chave repetida: " << chave;
    }
    return r;
  };
  EXPECT_EQ(obtido(false, ""), esperado);
  EXPECT_TRUE(obtido(false, "2").empty()) << "toda fonte filtra o estabelecimento";
  esperado["1|A|15|50|4.3.07.18|2|0|"] = "600.00/50.00/0.83";
  esperado["1|A|16|51|4.3.07.18|2|0|"] = "600.00/50.00/3.80";
  esperado["1|B|15|1|4.3.05.01|1|5102|3.1.1"] = "1000.00/800.00/13.20";
  esperado["1|B|16|1|4.3.05.01|1|5102|3.1.1"] = "1000.00/800.00/60.80";
  EXPECT_EQ(obtido(true, ""), esperado);
}

PISCO_INSTANCIAR_BANCOS(TotalCST);

}  // namespace
