// Blocos A e F contra o banco (SQLite e PostgreSQL): todo construtor, em todo ramo, prepara
// e roda sobre a demonstração; carregadores pelo cache; conferência dos registros principais
// com consultas de controle escritas aqui, independentes dos textos do repositório.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "blocks/BlocosTeste.h"
#include "blocks/CatalogoBlocos.h"
#include "db/Demo.h"
#include "host/ClientDataSet.h"
#include "base/Nutil.h"
#include "host/Nutildb.h"

namespace {

using RA = TnArqRepositorioSPEDPisCofinsBlocoA;
using RF = TnArqRepositorioSPEDPisCofinsBlocoF;

const TDateTime kInicio = EncodeDate(2024, 1, 1);
const TDateTime kFim = EncodeDate(2024, 1, 31);

class BlocosBanco : public TBancoDemoBlocos {
 protected:
  // Primeira linha de uma consulta de controle, como números.
  std::vector<double> Controle(const std::string& ASQL, const TParams& AValores = {}) {
    auto ds = Banco().Abrir(ASQL, AValores);
    std::vector<double> r;
    if (!ds->Eof())
      for (int i = 0; i < ds->FieldCount(); ++i) r.push_back(ds->Fields(i).IsNull() ? 0 : ds->Fields(i).AsFloat());
    return r;
  }

  struct TSoma {
    int64_t Linhas = 0;
    double Total = 0;
  };
  TSoma Somar(const std::string& ASQL, const TParams& AValores, const std::string& ACampo,
              const std::function<bool(TDataSet&)>& AFiltro = nullptr) {
    auto ds = Nutildb::ExecutarSQL(ASQL, AValores);
    TSoma s;
    for (; !ds->Eof(); ds->Next()) {
      if (AFiltro && !AFiltro(*ds)) continue;
      ++s.Linhas;
      s.Total += ds->FieldByName(ACampo).IsNull() ? 0 : ds->FieldByName(ACampo).AsFloat();
    }
    return s;
  }

  TParams Periodo() const { return {TVariant{int64_t{1}}, VarDate(kInicio), VarDate(kFim)}; }
};

TnParansBlocoA ParansA(int AMov, std::string AEstab = "") {
  return TnParansBlocoA{1, std::move(AEstab), kInicio, kFim, false, AMov, false};
}
TnParansBlocoF ParansF(int AMov, std::string AEstab = "") {
  return TnParansBlocoF{1, std::move(AEstab), kInicio, kFim, false, static_cast<int16_t>(AMov), false};
}

// Todo construtor em todo ramo prepara e roda (um nome errado de tabela ou coluna falha aqui).
TEST_P(BlocosBanco, TodoConstrutorEmTodoRamoRoda) {
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  int64_t consultas = 0, linhas = 0;
  for (bool korvel : {false, true}) {
    Host().Configuracao().ForcarKorvel = korvel;
    for (int mov : {0, 1, 2})
      for (const char* estab : {"1", "1,2", "", "3"})
        for (bool scp : {false, true}) {
          SCOPED_TRACE(std::string("A estab [") + estab + "] mov " + std::to_string(mov) + (scp ? " SCP" : "") +
                       (korvel ? " korvel" : ""));
          TnParansBlocoA a{1, estab, kInicio, kFim, false, mov, scp};
          for (const auto& c : CasosBlocoA(a)) {
            SCOPED_TRACE(c.Nome);
            EXPECT_NO_THROW(linhas += Rodar(c.SQL, c.ValoresReais));
            // Com os valores do carregador, o A170 não traz linha nenhuma.
            if (c.Nome == "A170") {
              EXPECT_EQ(Rodar(c.SQL, c.Valores), 0);
            }
            ++consultas;
          }
        }
  }
  Host().Configuracao().ForcarKorvel = false;
  for (bool opcao : {false, true}) {
    OpcaoConsolidada(opcao);
    for (int mov : {0, 1, 2})
      for (const char* estab : {"1", "1,2", "", "3"})
        for (bool scp : {false, true})
          for (const RF* repo : {static_cast<const RF*>(&det), static_cast<const RF*>(&cons)}) {
            SCOPED_TRACE(std::string("F estab [") + estab + "] mov " + std::to_string(mov) + (scp ? " SCP" : "") +
                         (opcao ? " opção 1" : " opção 0") + (repo == &det ? " detalhado" : " consolidado"));
            TnParansBlocoF f{1, estab, kInicio, kFim, false, static_cast<int16_t>(mov), scp};
            for (const auto& c : CasosBlocoF(f, *repo)) {
              SCOPED_TRACE(c.Nome);
              EXPECT_NO_THROW(linhas += Rodar(c.SQL, c.Valores));
              ++consultas;
            }
          }
  }
  EXPECT_GT(linhas, 0);
  RecordProperty("consultas", static_cast<int>(consultas));
}

// Carregadores: pelo cache, na classe pedida; o A170 abre com colunas e nenhuma linha.
TEST_P(BlocosBanco, CarregadoresPeloCache) {
  const auto a = ParansA(0);
  TnClientDataSet* cli = nullptr;
  RA::CarregarDadosA170(cli, a);
  ASSERT_NE(cli, nullptr);
  EXPECT_TRUE(cli->IsEmpty());
  EXPECT_EQ(cli->RecordCount(), 0);
  EXPECT_EQ(cli->FieldCount(), 22);
  EXPECT_NE(cli->FindField("TIPODEBCRED"), nullptr);
  EXPECT_NE(cli->FindField("CONTACTB"), nullptr);
  // Com os valores reais o mesmo texto traz linhas (é o que o host faz depois).
  EXPECT_GT(Rodar(RA::GetSQLA170(a), RA::GetParamsEstabData(a)), 0);

  TDataSet* plano = nullptr;
  RA::CarregarDadosA100(plano, a);
  ASSERT_NE(plano, nullptr);
  EXPECT_EQ(dynamic_cast<TnClientDataSet*>(plano), nullptr);
  EXPECT_FALSE(plano->Eof());

  TnClientDataSet* a110 = nullptr;
  for (auto carregar : {&RA::CarregarDadosA100Aux, &RA::CarregarDadosA110, &RA::CarregarDadosA111,
                        &RA::CarregarDadosA120}) {
    a110 = nullptr;
    carregar(a110, a);
    EXPECT_NE(a110, nullptr);
  }

  // Os carregadores virtuais usam o texto do objeto em que são chamados.
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  const auto f = ParansF(1);
  for (const RF* repo : {static_cast<const RF*>(&det), static_cast<const RF*>(&cons)}) {
    TDataSet* ds = nullptr;
    repo->CarregarDadosF550(ds, f);
    ASSERT_NE(ds, nullptr);
    EXPECT_EQ(ds->CommandText(), repo->GetSqlF550(f));
    TnClientDataSet* c525 = nullptr;
    repo->CarregarDadosF525(c525, f);
    ASSERT_NE(c525, nullptr);
    EXPECT_EQ(c525->CommandText(), repo->GetSqlF525(f));
  }
  TDataSet* f130 = nullptr;
  RF::CarregarDadosF130(f130, ParansF(1, "1"));
  ASSERT_NE(f130, nullptr);
  TnClientDataSet* f600 = nullptr;
  RF::CarregarDadosF600(f600, ParansF(1, "1"));
  ASSERT_NE(f600, nullptr);
}

// Um resultado de outra classe vindo do cache é erro; o ponteiro fica como estava.
TEST_P(BlocosBanco, ClasseErradaDoCacheEhErro) {
  auto fluxo = Nutildb::ExecutarSQL("SELECT 1 AS X", {});
  EXPECT_THROW(TnArqRepositorioSPEDPisCofinsBase::ComoCliente(fluxo.get()), EBancoDados);
  EXPECT_THROW(TnArqRepositorioSPEDPisCofinsBase::ComoCliente(nullptr), EBancoDados);
  auto cliente = Nutildb::ExecutarSQL("SELECT 1 AS X", {}, true);
  EXPECT_EQ(TnArqRepositorioSPEDPisCofinsBase::ComoCliente(cliente.get()), cliente.get());
  // Erro do banco passa adiante e não mexe no ponteiro.
  TnClientDataSet* antes = nullptr;
  EXPECT_THROW(TnArqRepositorioSPEDPisCofinsBase::CarregarDados(antes, ParansA(0), "SELECT * FROM NAOEXISTE", {}),
               EPisco);
  EXPECT_EQ(antes, nullptr);
}

// ------------------------------------------------------------------ conferência na demonstração

// As regras do A100 e do A170 (modelo, CFOP de ISS, situação, conjugadas) estão no cenário
// tests/cenarios/blocos/a100-servicos.cenario.

TEST_P(BlocosBanco, DemonstracaoBlocoFConfereComConsultasDeControle) {
  const std::string csts = "(70, 71, 72, 73, 74, 75, 98, 99)";
  for (int mov : {0, 1}) {
    SCOPED_TRACE(mov);
    const auto f = ParansF(mov);
    const TParams v = RF::GetParamsEstabData(f);
    // F100: a parte dos demais documentos traz cada linha do período com o indicador do lado.
    const auto f100 = Somar(RF::GetSqlF100(f), v, "VLPIS",
                            [](TDataSet& d) { return d.FieldByName("ORIGEM").AsString() == "EFDF100"; });
    const auto c100 = Controle("SELECT COUNT(*), SUM(VALORPIS) FROM EFDF100DEMAISDOC WHERE CODIGOEMPRESA = 1 "
                               "AND DATALCTOFIS BETWEEN :I AND :F AND INDOPER " +
                                   std::string(mov == 0 ? "= 0" : "IN (1, 2)"),
                               {VarDate(kInicio), VarDate(kFim)});
    EXPECT_EQ(f100.Linhas, static_cast<int64_t>(c100[0]));
    EXPECT_NEAR(f100.Total, c100[1], 0.005);
    // F100, parte dos lançamentos: PIS dos documentos de modelo 97/98 do lado.
    const std::string lado = mov == 0 ? "ENT" : "SAI";
    const auto f100l = Somar(RF::GetSqlF100(f), v, "VLPIS",
                             [](TDataSet& d) { return d.FieldByName("ORIGEM").AsString() == "LCTOFIS"; });
    const auto c100l = Controle("SELECT SUM(P.VALORPIS) FROM LCTOFIS" + lado + "PISCOFINS P WHERE P.CODIGOEMPRESA = 1 "
                                "AND P.CHAVELCTOFIS" + lado + " IN (SELECT CHAVELCTOFIS" + lado + " FROM LCTOFIS" + lado +
                                " WHERE CODIGOEMPRESA = 1 AND CDMODELO IN ('97', '98') AND DATALCTOFIS BETWEEN :I AND :F)",
                                {VarDate(kInicio), VarDate(kFim)});
    EXPECT_NEAR(f100l.Total, c100l.empty() ? 0 : c100l[0], 0.005);
  }

  const auto f = ParansF(1);
  const TParams v = RF::GetParamsEstabData(f);
  struct TCaso {
    const char* Registro;
    std::string SQL;
    TParams Valores;
    const char* Campo;
    std::string Controle;
    TParams ValoresControle;
  };
  const TParams per{VarDate(kInicio), VarDate(kFim)};
  const std::vector<TCaso> casos = {
      {"F120", RF::GetSqlF120(f), v, "VLPIS",
       "SELECT COUNT(*), SUM(C.CREDITOPIS) FROM PATCREDITODACON C WHERE C.CODIGOEMPRESA = 1 AND C.PERIODO BETWEEN "
       ":I AND :F AND C.CSTPIS NOT IN " + csts + " AND C.CSTCOFINS NOT IN " + csts +
           " AND C.NUMEROBEM IN (SELECT G.NUMEROBEM FROM PATCFGDACON G WHERE G.CODIGOEMPRESA = 1 AND "
           "G.TIPODACONCREDITO IN (1, 6, 7))",
       per},
      {"F130", RF::GetSqlF130(f), RF::GetParamsF130(f), "VLPIS",
       "SELECT COUNT(*), SUM(C.CREDITOPIS) FROM PATCREDITODACON C WHERE C.CODIGOEMPRESA = 1 AND C.PERIODO BETWEEN "
       ":I AND :F AND C.CSTPIS NOT IN " + csts + " AND C.CSTCOFINS NOT IN " + csts +
           " AND C.NUMEROBEM IN (SELECT G.NUMEROBEM FROM PATCFGDACON G WHERE G.CODIGOEMPRESA = 1 AND "
           "G.TIPODACONCREDITO NOT IN (1, 6, 7))",
       per},
      {"F150", RF::GetSqlF150(f), RF::GetParamsF150(f), "VLRCREDPIS",
       "SELECT COUNT(*), SUM(VLRCREDPIS) FROM EFDCREDPRESESTOQABERT WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS >= :I "
       "AND DATALCTOFIS <= :F",
       {VarDate(EncodeDate(2023, 2, 1)), VarDate(kFim)}},
      {"F200", RF::GetSqlF200(f), v, "VLPIS",
       "SELECT COUNT(*), SUM(VLPIS) FROM EFDUNIDIMOBVENDIDA WHERE CODIGOEMPRESA = 1 AND COMPRECEB BETWEEN :I AND :F",
       per},
      {"F205", RF::GetSqlF205(f), v, "VLCREDPISDESC",
       "SELECT COUNT(*), SUM(VLCREDPISDESC) FROM EFDUNIDIMOBCUSTOINC WHERE CODIGOEMPRESA = 1 AND COMPRECEB BETWEEN "
       ":I AND :F",
       per},
      {"F210", RF::GetSqlF210(f), v, "VLCREDPISUTIL",
       "SELECT COUNT(*), SUM(VLCREDPISUTIL) FROM EFDUNIDIMOBCUSTOORC WHERE CODIGOEMPRESA = 1 AND COMPRECEB BETWEEN "
       ":I AND :F",
       per},
      {"F600", RF::GetSqlF600(f), RF::GetParamsF600(f), "VLRETPIS",
       "SELECT COUNT(DISTINCT R.TIPORETENCAO), SUM(R.VALORPIS) FROM LCTOFISSAIRETIDO R WHERE R.CODIGOEMPRESA = 1 "
       "AND R.DATAPGTOPISCOFINSCSLL BETWEEN :I AND :F",
       per},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Registro);
    const auto obtido = Somar(c.SQL, c.Valores, c.Campo);
    const auto esperado = Controle(c.Controle, c.ValoresControle);
    ASSERT_EQ(esperado.size(), 2u);
    EXPECT_GT(esperado[0], 0) << "a demonstração deveria ter linhas para " << c.Registro;
    if (std::string(c.Registro) == "F600") {
      EXPECT_GE(obtido.Linhas, static_cast<int64_t>(esperado[0]));
    } else {
      EXPECT_EQ(obtido.Linhas, static_cast<int64_t>(esperado[0]));
    }
    EXPECT_NEAR(obtido.Total, esperado[1], 0.005);
  }
}

// F500 (caixa) e F550 (competência): a receita total confere com o rateio/soma recalculado aqui,
// e detalhado e consolidado dão o mesmo total.
TEST_P(BlocosBanco, DemonstracaoF500EF550ConferemOsTotais) {
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  const auto f = ParansF(1);
  const TParams v = RF::GetParamsEstabData(f);
  const std::set<int64_t> porAliq{1, 2, 4, 5, 6, 7, 8, 9, 49, 99};

  // Rateio por pagamento, linha a linha, com o arredondamento de duas casas de cada parcela.
  auto pag = Banco().Abrir(
      "SELECT LPC.CDSITUATRIBUTPIS CSTP, LPC.CDSITUATRIBUTCOFINS CSTC, LPC.RECEITAPISCOFINS REC, "
      "P.VALORPAGO VP, P.VALORDESCONTO VD, P.CODIGOESTAB E, P.CHAVEDUPLICATASAI K "
      "FROM DUPLICATASAIPGTO P, DUPLICATASAI D, LCTOFISSAIPISCOFINS LPC "
      "WHERE P.CODIGOEMPRESA = 1 AND P.DATAPGTO BETWEEN :I AND :F AND D.CODIGOEMPRESA = P.CODIGOEMPRESA "
      "AND D.CODIGOESTAB = P.CODIGOESTAB AND D.CHAVEDUPLICATASAI = P.CHAVEDUPLICATASAI "
      "AND LPC.CODIGOEMPRESA = D.CODIGOEMPRESA AND LPC.CHAVELCTOFISSAI = D.CHAVELCTOFISSAI",
      {VarDate(kInicio), VarDate(kFim)});
  std::map<std::pair<int64_t, int64_t>, double> parcelas;
  auto par = Banco().Abrir("SELECT CODIGOESTAB E, CHAVEDUPLICATASAI K, VALORPARCELA V FROM DUPLICATASAIPARCELA "
                           "WHERE CODIGOEMPRESA = 1");
  for (; !par->Eof(); par->Next())
    parcelas[{par->FieldByName("E").AsInteger(), par->FieldByName("K").AsInteger()}] += par->FieldByName("V").AsFloat();
  double esperadoDet = 0, esperadoCons = 0;
  for (; !pag->Eof(); pag->Next()) {
    const double total = parcelas[{pag->FieldByName("E").AsInteger(), pag->FieldByName("K").AsInteger()}];
    const double fator = (pag->FieldByName("VP").AsFloat() + pag->FieldByName("VD").AsFloat()) / total;
    const double parte = Nutil::RoundValor(pag->FieldByName("REC").AsFloat() * fator, 2);
    if (porAliq.count(pag->FieldByName("CSTP").AsInteger())) esperadoDet += parte;
    if (porAliq.count(pag->FieldByName("CSTC").AsInteger())) esperadoCons += parte;
  }
  const auto d500 = Somar(det.GetSqlF500(f), v, "VLREC");
  const auto c500 = Somar(cons.GetSqlF500(f), v, "VLREC");
  EXPECT_GT(d500.Linhas, 0);
  EXPECT_NEAR(d500.Total, esperadoDet, 0.02);
  EXPECT_NEAR(c500.Total, esperadoCons, 0.02);

  // F550: receita das saídas por alíquota mais os demais documentos de saída por alíquota.
  const auto c550 = Controle(
      "SELECT (SELECT SUM(RECEITAPISCOFINS) FROM LCTOFISSAIPISCOFINS WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN "
      ":I AND :F AND CDSITUATRIBUTPIS IN (1, 2, 4, 5, 6, 7, 8, 9, 49, 99)), (SELECT SUM(VALOROPER) FROM "
      "EFDF100DEMAISDOC WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F AND INDOPER IN (1, 2) AND CST IN "
      "(1, 2, 4, 5, 6, 7, 8, 9, 49, 99))",
      {VarDate(kInicio), VarDate(kFim)});
  ASSERT_EQ(c550.size(), 2u);
  const auto d550 = Somar(det.GetSqlF550(f), v, "VLREC");
  const auto k550 = Somar(cons.GetSqlF550(f), v, "VLREC");
  EXPECT_GT(d550.Linhas, 0);
  EXPECT_NEAR(d550.Total, c550[0] + c550[1], 0.05);
  EXPECT_NEAR(k550.Total, d550.Total, 0.05);
  EXPECT_LE(k550.Linhas, d550.Linhas);
}

// Com a opção do F500 = 1, documentos de modelo 57 saem com CFOP 0.
TEST_P(BlocosBanco, Modelo57ComCFOPZeroPelaOpcao) {
  Banco().Executar("UPDATE LCTOFISSAI SET CDMODELO = '57' WHERE CODIGOEMPRESA = 1");
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const auto f = ParansF(1);
  auto cfops = [&]() {
    std::set<int64_t> r;
    auto ds = Nutildb::ExecutarSQL(det.GetSqlF550(f), RF::GetParamsEstabData(f));
    for (; !ds->Eof(); ds->Next())
      if (ds->FieldByName("CDMODELO").AsString() == "57") r.insert(ds->FieldByName("CODIGOCFOP").AsInteger());
    return r;
  };
  OpcaoConsolidada(false);
  const auto sem = cfops();
  ASSERT_FALSE(sem.empty());
  EXPECT_FALSE(sem.count(0));
  OpcaoConsolidada(true);
  EXPECT_EQ(cfops(), std::set<int64_t>{0});
}

PISCO_INSTANCIAR_BANCOS(BlocosBanco);

}  // namespace
