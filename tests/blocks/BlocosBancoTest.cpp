// Blocos A, C, D, F, I, P e 1 contra a demonstração (SQLite e PostgreSQL): todo construtor, em
// todo ramo, prepara e roda; os carregadores; e os registros com valores conferidos com
// consultas de controle escritas aqui, independentes dos textos do repositório.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "blocks/BlocosTeste.h"
#include "blocks/CatalogoBlocos.h"
#include "host/ClientDataSet.h"
#include "host/ControlesFiscais.h"
#include "host/Nutildb.h"

namespace {

using RA = TnArqRepositorioSPEDPisCofinsBlocoA;
using RC = TnArqRepositorioSPEDPisCofinsBlocoC;
using RM = TnArqRepositorioSPEDPisCofinsBlocoCMemoria;
using RD = TnArqRepositorioSPEDPisCofinsBlocoD;
using RF = TnArqRepositorioSPEDPisCofinsBlocoF;
using RI = TnArqRepositorioSPEDPisCofinsBlocoI;
using RP = TnArqRepositorioSPEDPisCofinsBlocoP;
using R1 = TnArqRepositorioSPEDPisCofinsBloco1;
using TMemParans = nArqRepositorioSPEDPisCofinsBlocoCMemoria_U::TnParansBlocoC;

const TDateTime kInicio = EncodeDate(2024, 1, 1);
const TDateTime kFim = EncodeDate(2024, 1, 31);

class BlocosBanco : public TBancoDemoBlocos {
 protected:
  // Liga ou desliga a apuração do IPI da empresa 1 (muda o HAVING do C100 de entrada).
  void ApuraIPI(bool AValor) {
    Banco().Executar("DELETE FROM OPCAOIPI WHERE CODIGOEMPRESA = 1");
    if (AValor)
      Banco().Executar("INSERT INTO OPCAOIPI (CODIGOEMPRESA, CODIGOESTAB, DATAINICIAL, APURAIPI) VALUES (1, 1, :D, 1)",
                       {VarDate(EncodeDate(2020, 1, 1))});
    ControleIPI().LimparCache();
  }
  // Roda cada texto com os valores reais; os carregadores que abrem com os valores nulos só
  // trazem colunas (o host reabre depois com os reais).
  void RodarCasos(const std::string& APrefixo, const std::vector<TCasoBloco>& ACasos) {
    for (const auto& c : ACasos) {
      SCOPED_TRACE(APrefixo + c.Nome);
      int64_t n = 0;
      EXPECT_NO_THROW(n = Rodar(c.SQL, c.ValoresReais));
      FLinhas[APrefixo + c.Nome] += n;
      if (c.Valores != c.ValoresReais) {
        EXPECT_EQ(Rodar(c.SQL, c.Valores), 0);
      }
    }
  }
  std::map<std::string, int64_t> FLinhas;  // por registro, somadas em todos os ramos
};

// Todo construtor em todo ramo prepara e roda (um nome errado de tabela ou coluna, ou sintaxe
// que um dos bancos recusa, falha aqui), e cada registro traz linhas em algum ramo.
TEST_P(BlocosBanco, TodoConstrutorEmTodoRamoRoda) {
  for (bool korvel : {false, true}) {
    Host().Configuracao().ForcarKorvel = korvel;
    for (int mov : {0, 1, 2})
      for (const char* estab : {"1", "1,2", "", "3"})
        for (bool scp : {false, true}) {
          SCOPED_TRACE(std::string("A estab [") + estab + "] mov " + std::to_string(mov) + (scp ? " SCP" : "") +
                       (korvel ? " korvel" : ""));
          RodarCasos("A ", CasosBlocoA(TnParansBlocoA{1, estab, kInicio, kFim, false, mov, scp}));
        }
  }
  Host().Configuracao().ForcarKorvel = false;
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  for (bool opcao : {false, true}) {
    OpcaoConsolidada(opcao);
    for (int mov : {0, 1, 2})
      for (const char* estab : {"1", "1,2", "", "3"})
        for (bool scp : {false, true})
          for (const RF* repo : {static_cast<const RF*>(&det), static_cast<const RF*>(&cons)}) {
            SCOPED_TRACE(std::string("F estab [") + estab + "] mov " + std::to_string(mov) + (scp ? " SCP" : "") +
                         (opcao ? " opção 1" : " opção 0") + (repo == &det ? " detalhado" : " consolidado"));
            RodarCasos("F ", CasosBlocoF(TnParansBlocoF{1, estab, kInicio, kFim, false, static_cast<int16_t>(mov), scp},
                                         *repo));
          }
  }
  // Bloco C e D: combinações que cobrem cada ramo sem o produto cartesiano inteiro (lento no
  // PostgreSQL): lado, forma do estabelecimento, SCP, IndApuracao, dicas de índice e IPI.
  struct TComb {
    int Mov;
    const char* Estab;
    bool Scp;
    int16_t Ind;
    bool Korvel, Ipi;
  };
  std::vector<TComb> combs;
  for (int mov : {0, 1})
    for (const char* estab : {"1", "1,2", ""}) combs.push_back({mov, estab, false, 2, false, false});
  combs.insert(combs.end(), {{0, "3", true, 0, false, false}, {1, "3", true, 0, false, false},
                             {1, "1", true, 2, false, false}, {2, "1", false, 2, false, false},
                             {0, "1", false, 2, true, true}, {1, "", false, 0, true, false}});
  for (const auto& k : combs) {
    Host().Configuracao().ForcarKorvel = k.Korvel;
    ApuraIPI(k.Ipi);
    SCOPED_TRACE(std::string("C/D estab [") + k.Estab + "] mov " + std::to_string(k.Mov) + (k.Scp ? " SCP" : "") +
                 " ind " + std::to_string(k.Ind) + (k.Korvel ? " korvel" : "") + (k.Ipi ? " ipi" : ""));
    RodarCasos("C ", CasosBlocoC<RC>(TnParansBlocoC{1, k.Estab, kInicio, kFim, false, k.Mov, k.Ind, k.Scp}));
    RodarCasos("C mem ", CasosBlocoC<RM>(TMemParans{1, k.Estab, kInicio, kFim, false, k.Mov, k.Ind}));
    if (k.Mov == 0) RodarCasos("D ", CasosBlocoD(TnParansBlocoD{1, k.Estab, kInicio, kFim, false, k.Scp}));
  }
  Host().Configuracao().ForcarKorvel = false;
  // Bloco P nos cortes: 2012 antes de abril (operações da lei original), 2012 inteiro, 2013
  // antes de agosto (lista de CST antiga) e o período da demonstração.
  const std::pair<TDateTime, TDateTime> periodos[] = {{EncodeDate(2012, 3, 1), EncodeDate(2012, 3, 31)},
                                                      {EncodeDate(2012, 12, 1), EncodeDate(2012, 12, 31)},
                                                      {EncodeDate(2013, 5, 1), EncodeDate(2013, 5, 31)},
                                                      {kInicio, kFim}};
  for (const auto& [ini, fim] : periodos)
    for (const char* estab : {"1", "1,2", ""}) {
      SCOPED_TRACE(std::string("P estab [") + estab + "] " + DataISO(ini));
      RodarCasos("P ", CasosBlocoP(TnParansBlocoP{1, estab, ini, fim, false, 1}));
    }
  for (bool consolidado : {false, true}) {
    OpcaoConsolidada(consolidado);
    for (const char* estab : {"1", "1,2", ""})
      for (const char* proc : {"", "0012345-67.2019.4.03"}) {
        SCOPED_TRACE(std::string("1 estab [") + estab + "] proc [" + proc + "]" + (consolidado ? " consolidado" : ""));
        RodarCasos("1 ", CasosBloco1(TnParansBloco1{1, estab, kInicio, kFim}, proc));
      }
  }
  // A demonstração não tem linhas destes (o P200 pelo texto é só de antes de 2013); F510 e F560
  // têm as linhas mínimas de BlocoFDados.
  const std::set<std::string> semLinhas = {"A A110", "A A111", "A A120", "F F111", "F F510",
                                           "F F519", "F F560", "F F569", "P P200"};
  for (const auto& [nome, n] : FLinhas) {
    EXPECT_TRUE(n > 0 || semLinhas.count(nome)) << nome << ": nenhuma linha na demonstração";
  }
}

// Carregadores: a classe pedida (fluxo ou cópia em memória) vem do cache; os que abrem com os
// valores nulos só trazem colunas; os virtuais do bloco F usam o texto do objeto chamado; o do
// bloco P reexecuta o mesmo dataset com os valores novos.
TEST_P(BlocosBanco, Carregadores) {
  const TnParansBlocoA a{1, "", kInicio, kFim, false, 0, false};
  TnClientDataSet* a170 = nullptr;
  RA::CarregarDadosA170(a170, a);
  ASSERT_NE(a170, nullptr);
  EXPECT_TRUE(a170->IsEmpty());
  EXPECT_NE(a170->FindField("TIPODEBCRED"), nullptr);
  TDataSet* a100 = nullptr;
  RA::CarregarDadosA100(a100, a);
  ASSERT_NE(a100, nullptr);
  EXPECT_EQ(dynamic_cast<TnClientDataSet*>(a100), nullptr);
  EXPECT_FALSE(a100->Eof());

  const TnParansBlocoC c{1, "1", kInicio, kFim, false, 1, 2, false};
  TnClientDataSet* c170 = nullptr;
  RC::CarregarDadosC170(c170, c);
  ASSERT_NE(c170, nullptr);
  EXPECT_TRUE(c170->IsEmpty());
  // A gêmea lê o C170 com os valores reais, num dataset próprio, e traz as mesmas linhas.
  const TMemParans m{1, "1", kInicio, kFim, false, 1, 2};
  std::unique_ptr<TDataSet> itens;
  RM::CarregarDadosC170(itens, m);
  ASSERT_TRUE(itens);
  EXPECT_FALSE(itens->Eof());
  EXPECT_EQ(Rodar(RM::GetSqlC170(m), RM::GetParamsEstabDataLCO(m)), Rodar(RC::GetSqlC170(c), RC::GetParamsEstabData(c)));

  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  const TnParansBlocoF f{1, "", kInicio, kFim, false, 1, false};
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

  // Um resultado de outra classe vindo do cache é erro; erro do banco não mexe no ponteiro.
  auto fluxo = Nutildb::ExecutarSQL("SELECT 1 AS X", {});
  EXPECT_THROW(TnArqRepositorioSPEDPisCofinsBase::ComoCliente(fluxo.get()), EBancoDados);
  TnClientDataSet* antes = nullptr;
  EXPECT_THROW(TnArqRepositorioSPEDPisCofinsBase::CarregarDados(antes, a, "SELECT * FROM NAOEXISTE", {}), EPisco);
  EXPECT_EQ(antes, nullptr);

  TnParansBlocoP p{1, "", kInicio, kFim, false, 1};
  std::unique_ptr<TDataSet> p210;
  RP::CarregarDadosP210(p210, p);
  ASSERT_TRUE(p210);
  EXPECT_EQ(Rodar(RP::GetSqlP210(p), RP::GetParamsEstabData(p)), 2);
  TDataSet* anterior = p210.get();
  p.DataInicial = EncodeDate(2023, 1, 1);
  p.DataFinal = EncodeDate(2023, 1, 31);
  RP::CarregarDadosP210(p210, p);
  EXPECT_EQ(p210.get(), anterior);
  EXPECT_TRUE(p210->Eof());  // mês sem ajustes: nada das linhas de antes
  p.AgruparFiliais = true;
  p.DataInicial = kInicio;
  p.DataFinal = kFim;
  RP::CarregarDadosP210(p210, p);
  ASSERT_TRUE(p210);
  EXPECT_FALSE(p210->Eof());
}

// Registros com valores: as linhas do repositório, somadas pela chave que importa (CST, CFOP,
// conta, produto, origem), batem com consultas de controle sobre as tabelas cruas.
TEST_P(BlocosBanco, RegistrosComValoresConferemComControle) {
  const TnParansBlocoC ps{1, "", kInicio, kFim, false, 1, 2, false};
  const TnParansBlocoC pe{1, "", kInicio, kFim, false, 0, 2, false};
  const TnParansBlocoD pd{1, "", kInicio, kFim, false, false};
  const TnParansBlocoF f{1, "", kInicio, kFim, false, 1, false};
  const TnParansBlocoP p{1, "", kInicio, kFim, false, 1};
  const TnParansBloco1 b{1, "", kInicio, kFim};
  const TParams vc = RC::GetParamsEstabData(ps), vf = RF::GetParamsEstabData(f), v1 = R1::GetParamsEmpData(b);
  const TParams per{VarDate(kInicio), VarDate(kFim)};
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  // Primeiros itens das notas de modelo 55 com o débito 4.3.05.00, que o C180/C181 deixam fora.
  Banco().Executar("UPDATE LCTOFISSAIPISCOFINS SET TIPODEBITO = '4.3.05.00', TIPODEBITOPIS = '4.3.05.00' WHERE "
                   "CODIGOEMPRESA = 1 AND SEQ = 1 AND CHAVELCTOFISSAI IN (SELECT CHAVELCTOFISSAI FROM LCTOFISSAI "
                   "WHERE CODIGOEMPRESA = 1 AND CDMODELO = '55')");
  // O 1900 lê a opção ao montar o texto.
  OpcaoConsolidada(true);
  const std::string sql1900Consolidado = R1::GetSql1900(b, false) + R1::GetSql1900NFCanc(b);
  OpcaoConsolidada(false);

  // Pedaços das consultas de controle.
  const std::string mercadoria =
      " AND EXISTS (SELECT 1 FROM LCTOFISSAICFOP X WHERE X.CODIGOEMPRESA = L.CODIGOEMPRESA AND X.CHAVELCTOFISSAI = "
      "L.CHAVELCTOFISSAI AND X.TIPOIMPOSTO IN (1, 3))";
  const std::string devolucao = " IN (SELECT CODIGOCFOP FROM CFOP WHERE INDDEVOLUCAO = 1)";
  const std::string transferencia = " IN (SELECT CODIGOCFOP FROM CFOP WHERE INDTRANSFERENCIA = 1)";
  auto lado = [](const std::string& l, const std::string& campos, const std::string& filtro, const std::string& grupo) {
    return "SELECT " + campos + " FROM LCTOFIS" + l + "PISCOFINS LPC JOIN LCTOFIS" + l +
           " L ON L.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND L.CHAVELCTOFIS" + l + " = LPC.CHAVELCTOFIS" + l +
           " WHERE L.CODIGOEMPRESA = 1 AND L.DATALCTOFIS BETWEEN :I AND :F " + filtro + " GROUP BY " + grupo;
  };
  auto saidas = [&](auto... a) { return lado("SAI", a...); };
  auto entradas = [&](auto... a) { return lado("ENT", a...); };
  const std::string cfop4 = "CAST(SUBSTR(CAST(LPC.CODIGOCFOP AS VARCHAR(10)), 1, 4) AS INTEGER)";
  const std::string modelosD = " AND L.CDMODELO IN ('7', '8', '8B', '9', '10', '11', '26', '27', '57', '63', '67')";
  const std::string porAliquota = " IN (1, 2, 4, 5, 6, 7, 8, 9, 49, 99)";
  const std::string csts = "(70, 71, 72, 73, 74, 75, 98, 99)";
  const std::string creditoBem = "SELECT C.CREDITOPIS VLPIS FROM PATCREDITODACON C WHERE C.CODIGOEMPRESA = 1 AND "
                                 "C.PERIODO BETWEEN :I AND :F AND C.CSTPIS NOT IN " + csts + " AND C.CSTCOFINS NOT IN " +
                                 csts + " AND C.NUMEROBEM IN (SELECT G.NUMEROBEM FROM PATCFGDACON G WHERE "
                                 "G.CODIGOEMPRESA = 1 AND G.TIPODACONCREDITO ";
  // Caixa: a receita de cada pagamento na proporção do pago sobre as parcelas, em duas casas.
  auto caixa = [](const std::string& ACampoCST) {
    return "SELECT ROUND(LPC.RECEITAPISCOFINS * 1.0 * (P.VALORPAGO + P.VALORDESCONTO) / (SELECT SUM(X.VALORPARCELA) "
           "FROM DUPLICATASAIPARCELA X WHERE X.CODIGOEMPRESA = 1 AND X.CODIGOESTAB = P.CODIGOESTAB AND "
           "X.CHAVEDUPLICATASAI = P.CHAVEDUPLICATASAI), 2) VLREC FROM DUPLICATASAIPGTO P JOIN DUPLICATASAI D ON "
           "D.CODIGOEMPRESA = P.CODIGOEMPRESA AND D.CODIGOESTAB = P.CODIGOESTAB AND D.CHAVEDUPLICATASAI = "
           "P.CHAVEDUPLICATASAI JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = D.CODIGOEMPRESA AND "
           "LPC.CHAVELCTOFISSAI = D.CHAVELCTOFISSAI WHERE P.CODIGOEMPRESA = 1 AND P.DATAPGTO BETWEEN :I AND :F AND "
           "LPC." + ACampoCST + " IN (1, 2, 4, 5, 6, 7, 8, 9, 49, 99)";
  };
  const std::string competencia =
      "SELECT RECEITAPISCOFINS VLREC FROM LCTOFISSAIPISCOFINS WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND "
      ":F AND CDSITUATRIBUTPIS" + porAliquota + " UNION ALL SELECT VALOROPER FROM EFDF100DEMAISDOC WHERE "
      "CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F AND INDOPER IN (1, 2) AND CST" + porAliquota;
  // F100 de cada lado: os demais documentos e o PIS dos lançamentos de modelo 97/98.
  auto f100 = [](const std::string& l, const std::string& indOper) {
    return "SELECT 'EFDF100' ORIGEM, VALORPIS VLPIS FROM EFDF100DEMAISDOC WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS "
           "BETWEEN :I AND :F AND INDOPER " + indOper + " UNION ALL SELECT 'LCTOFIS', P.VALORPIS FROM LCTOFIS" + l +
           "PISCOFINS P WHERE P.CODIGOEMPRESA = 1 AND P.CHAVELCTOFIS" + l + " IN (SELECT CHAVELCTOFIS" + l +
           " FROM LCTOFIS" + l + " WHERE CODIGOEMPRESA = 1 AND CDMODELO IN ('97', '98') AND DATALCTOFIS BETWEEN :I "
           "AND :F)";
  };
  const auto f100e = TnParansBlocoF{1, "", kInicio, kFim, false, 0, false};
  auto totalP = [](const std::string& ACampos, const std::string& AFiltro) {
    return "SELECT " + ACampos + " FROM TOTALCONTPATRONALDET T WHERE T.CODIGOEMPRESA = 1 AND T.DATATOTAL BETWEEN :I "
           "AND :F AND " + AFiltro;
  };

  struct TCaso {
    const char* Registro;
    std::string SQL;
    TParams Valores;
    std::vector<std::string> Chave;
    std::string Valor, Controle;
    TParams ValoresControle;
    double Tolerancia = 0.011;
  };
  const std::vector<TCaso> casos = {
      {"C170", RC::GetSqlC170(ps), vc, {"CDSITUATRIBUTPIS", "CODIGOCFOP", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CODIGOCFOP, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
              " AND L.CDMODELO IN ('1', '1B', '4', '55') AND L.CDSITUACAO IN (0, 1, 6, 7, 8, 99)" + mercadoria,
              "LPC.CDSITUATRIBUTPIS, LPC.CODIGOCFOP, LPC.CONTACTBEFD"), per},
      {"C175", RC::GetSqlC175(ps), vc, {"CDSITUATRIBUTPIS", "CODIGOCFOP", "CONTACTB"}, "RECEITAPISCOFINS",
       saidas("LPC.CDSITUATRIBUTPIS, " + cfop4 + " CODIGOCFOP, LPC.CONTACTBEFD CONTACTB, SUM(LPC.RECEITAPISCOFINS) "
              "RECEITAPISCOFINS", " AND L.CDMODELO = '65'" + mercadoria + " AND LPC.CODIGOCFOP NOT" + transferencia,
              "LPC.CDSITUATRIBUTPIS, " + cfop4 + ", LPC.CONTACTBEFD"), per},
      {"C181_185", RC::GetSqlC181_185(ps), vc, {"CODIGOPRODUTO", "CDSITUATRIBUTCOFINS", "CODIGOCFOP"}, "VALORCOFINS",
       saidas("LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTCOFINS, " + cfop4 + " CODIGOCFOP, SUM(LPC.VALORCOFINS) VALORCOFINS",
              " AND L.CDMODELO IN ('55', '65') AND LPC.TIPODEBITO <> '4.3.05.00'" + mercadoria +
                  " AND LPC.CODIGOCFOP NOT" + devolucao + " AND LPC.CODIGOCFOP NOT" + transferencia,
              "LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTCOFINS, " + cfop4), per},
      {"C191_195", RC::GetSqlC191_195(ps), vc, {"CODIGOPRODUTO", "CDSITUATRIBUTPIS", "INDOPER"}, "VALORPIS",
       entradas("LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTPIS, 0 INDOPER, SUM(LPC.VALORPIS) VALORPIS",
                " AND L.CDMODELO = '55' AND LPC.VALORPIS + LPC.VALORCOFINS > 0 AND LPC.CODIGOCFOP NOT" + transferencia,
                "LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTPIS") + " UNION ALL " +
           saidas("LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTPIS, 1 INDOPER, SUM(LPC.VALORPIS) VALORPIS",
                  " AND L.CDMODELO = '55' AND LPC.VALORPIS + LPC.VALORCOFINS > 0 AND LPC.CODIGOCFOP" + devolucao,
                  "LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTPIS"), per},
      {"C381", RC::GetSqlC381(ps), [&] { TParams v = vc; v.emplace_back(int64_t{0}); v.emplace_back(int64_t{999999999});
                                         return v; }(),
       {"CDSITUATRIBUTPIS", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS", " AND L.CDMODELO = '2'",
              "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD"), per},
      {"C481", RC::GetSqlC481(ps), [&] { TParams v = vc; v.emplace_back(int64_t{1}); return v; }(),
       {"CODIGOREDUCAOZ", "CDSITUATRIBUTPIS"}, "VALORPIS",
       saidas("L.CODIGOREDUCAOZ, LPC.CDSITUATRIBUTPIS, SUM(LPC.VALORPIS) VALORPIS", " AND L.CODIGOREDUCAOZ IS NOT NULL",
              "L.CODIGOREDUCAOZ, LPC.CDSITUATRIBUTPIS"), per},
      {"C505", RC::GetSqlC505(pe), RC::GetParamsEstabData(pe), {"CDSITUATRIBUTCOFINS", "TIPOCREDITO"}, "VALORCOFINS",
       entradas("LPC.CDSITUATRIBUTCOFINS, LPC.TIPOCREDITO, SUM(LPC.VALORCOFINS) VALORCOFINS",
                " AND L.CDMODELO IN ('6', '66', '28', '29')", "LPC.CDSITUATRIBUTCOFINS, LPC.TIPOCREDITO"), per},
      {"C601", RC::GetSqlC601(ps), vc, {"CDSITUATRIBUTPIS", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
              " AND L.CDMODELO IN ('6', '66', '28', '29')", "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD"), per},
      {"C870", RC::GetSqlC870(ps), vc, {"CDSITUATRIBUTPIS", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
              " AND L.CDMODELO = '59' AND LPC.QUANTIDADE = 0", "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD"), per},
      {"C880", RC::GetSqlC880(ps), vc, {"CDSITUATRIBUTPIS", "CONTACTB"}, "QUANTIDADE",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.QUANTIDADE) QUANTIDADE",
              " AND L.CDMODELO = '59' AND LPC.QUANTIDADE > 0", "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD"), per},
      {"D101", RD::GetSqlD101(pd), RD::GetParamsEstabData(pd), {"CDSITUATRIBUTPIS", "CONTACTB"}, "VALORPIS",
       entradas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
                modelosD + " AND LPC.VALORPIS + LPC.VALORCOFINS > 0", "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD"), per},
      {"D201", RD::GetSqlD201(pd), RD::GetParamsEstabData(pd), {"CDSITUATRIBUTPIS", "CODIGOCFOP", "CONTACTB"},
       "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, " + cfop4 + " CODIGOCFOP, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
              modelosD, "LPC.CDSITUATRIBUTPIS, " + cfop4 + ", LPC.CONTACTBEFD"), per},
      {"D505", RD::GetSqlD505(pd), RD::GetParamsEstabData(pd), {"CDSITUATRIBUTCOFINS", "CONTACTB"}, "VALORCOFINS",
       entradas("LPC.CDSITUATRIBUTCOFINS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORCOFINS) VALORCOFINS",
                " AND L.CDMODELO IN ('21', '22')", "LPC.CDSITUATRIBUTCOFINS, LPC.CONTACTBEFD"), per},
      {"D601", RD::GetSqlD601(pd), RD::GetParamsEstabData(pd), {"CDSITUATRIBUTPIS", "CONTACTB"}, "VALORPIS",
       saidas("LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD CONTACTB, SUM(LPC.VALORPIS) VALORPIS",
              " AND L.CDMODELO IN ('21', '22') AND EXISTS (SELECT 1 FROM LCTOFISSAIPRODUTOSPEDD510 SP WHERE "
              "SP.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND SP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI AND SP.SEQ = LPC.SEQ)",
              "LPC.CDSITUATRIBUTPIS, LPC.CONTACTBEFD"), per},
      {"F100 entradas", RF::GetSqlF100(f100e), RF::GetParamsEstabData(f100e), {"ORIGEM"}, "VLPIS", f100("ENT", "= 0"),
       per},
      {"F100 saídas", RF::GetSqlF100(f), vf, {"ORIGEM"}, "VLPIS", f100("SAI", "IN (1, 2)"), per},
      // F120 e F130 pelo tipo de crédito do bem, sem os CST sem crédito.
      {"F120", RF::GetSqlF120(f), vf, {}, "VLPIS", creditoBem + "IN (1, 6, 7))", per},
      {"F130", RF::GetSqlF130(f), RF::GetParamsF130(f), {}, "VLPIS", creditoBem + "NOT IN (1, 6, 7))", per},
      // F150: o estoque de abertura desde onze meses antes.
      {"F150", RF::GetSqlF150(f), RF::GetParamsF150(f), {}, "VLRCREDPIS",
       "SELECT VLRCREDPIS FROM EFDCREDPRESESTOQABERT WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS >= :I AND DATALCTOFIS <= :F",
       {VarDate(EncodeDate(2023, 2, 1)), VarDate(kFim)}},
      {"F200", RF::GetSqlF200(f), vf, {}, "VLPIS",
       "SELECT VLPIS FROM EFDUNIDIMOBVENDIDA WHERE CODIGOEMPRESA = 1 AND COMPRECEB BETWEEN :I AND :F", per},
      {"F205", RF::GetSqlF205(f), vf, {}, "VLCREDPISDESC",
       "SELECT VLCREDPISDESC FROM EFDUNIDIMOBCUSTOINC WHERE CODIGOEMPRESA = 1 AND COMPRECEB BETWEEN :I AND :F", per},
      {"F210", RF::GetSqlF210(f), vf, {}, "VLCREDPISUTIL",
       "SELECT VLCREDPISUTIL FROM EFDUNIDIMOBCUSTOORC WHERE CODIGOEMPRESA = 1 AND COMPRECEB BETWEEN :I AND :F", per},
      // F500 pelo CST do PIS (detalhado) ou do COFINS (consolidado); F550 igual nos dois.
      {"F500 detalhado", det.GetSqlF500(f), vf, {}, "VLREC", caixa("CDSITUATRIBUTPIS"), per, 0.02},
      {"F500 consolidado", cons.GetSqlF500(f), vf, {}, "VLREC", caixa("CDSITUATRIBUTCOFINS"), per, 0.02},
      {"F550 detalhado", det.GetSqlF550(f), vf, {}, "VLREC", competencia, per, 0.05},
      {"F550 consolidado", cons.GetSqlF550(f), vf, {}, "VLREC", competencia, per, 0.05},
      {"F600", RF::GetSqlF600(f), RF::GetParamsF600(f), {"TIPORETENCAO"}, "VLRETPIS",
       "SELECT TIPORETENCAO, VALORPIS VLRETPIS FROM LCTOFISSAIRETIDO WHERE CODIGOEMPRESA = 1 AND "
       "DATAPGTOPISCOFINSCSLL BETWEEN :I AND :F", per},
      // P100 (2013 em diante): receita líquida da obra e exclusões das devoluções, sem 13050.
      {"P100 receita", RP::GetSqlP100(p), RP::GetParamsEstabData(p), {}, "VALORRECEITA",
       totalP("T.VALORTOTAL3 + T.VALORTOTAL4 VALORRECEITA", "T.CODIGOCFOP = 5102 AND T.CODIGOOPERACAOFIS <> 13050") +
           " UNION ALL SELECT -(O.VALORTOTAL3 + O.VALORTOTAL4) FROM TOTALCONTPATRONALOBRADET O WHERE "
           "O.CODIGOEMPRESA = 1 AND O.DATATOTAL BETWEEN :I AND :F", per},
      {"P100 exclusões", RP::GetSqlP100(p), RP::GetParamsEstabData(p), {}, "VALOREXCLUSAO",
       totalP("T.VALORTOTAL3 + T.VALORTOTAL4 VALOREXCLUSAO", "T.CODIGOCFOP = 1202"), per},
      // 1900: detalhado e consolidado dão a mesma receita, das saídas mais os demais documentos.
      {"1900 detalhado", R1::GetSql1900(b, false) + R1::GetSql1900NFCanc(b), v1, {}, "RECEITAPISCOFINS",
       "SELECT RECEITAPISCOFINS FROM LCTOFISSAIPISCOFINS WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F "
       "UNION ALL SELECT VALOROPER FROM EFDF100DEMAISDOC WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F "
       "AND INDOPER IN (1, 2)", per, 0.05},
      {"1900 consolidado", sql1900Consolidado, v1, {}, "RECEITAPISCOFINS",
       "SELECT RECEITAPISCOFINS FROM LCTOFISSAIPISCOFINS WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F "
       "UNION ALL SELECT VALOROPER FROM EFDF100DEMAISDOC WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F "
       "AND INDOPER IN (1, 2)", per, 0.05},
      {"1050", R1::GetSql1050(b), v1, {}, "VLAJPIS", "SELECT VLAJPIS FROM EFDEXCAJUSBCPISCOFINSDET WHERE CODIGOEMPRESA = 1",
       {}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Registro);
    auto ds = Nutildb::ExecutarSQL(c.SQL, c.Valores);
    auto ctl = Banco().Abrir(c.Controle, c.ValoresControle);
    ConferirSomas(SomarPorChave(*ds, c.Chave, {c.Valor}), SomarPorChave(*ctl, c.Chave, {c.Valor}), c.Tolerancia);
  }

  // P200 em memória: totais por código de receita mais os ajustes da operação.
  std::unique_ptr<TDataSet> p200;
  RP::CarregarDadosP200(p200, p);
  ASSERT_TRUE(p200);
  const auto obtido = SomarPorChave(*p200, {"CODIGOIMPOSTO", "VARIACAOIMPOSTO"}, {"VALORDEBITO"});
  auto esperado = [&](int ACfop) {
    auto ds = Banco().Abrir(totalP("T.VALORTOTAL2 V", "T.CODIGOCFOP = " + std::to_string(ACfop)) +
                                " UNION ALL SELECT CASE WHEN INDAJUSTE = '1' THEN VLRAJUSTE ELSE -VLRAJUSTE END FROM "
                                "CONTPATRONALAJUSTE WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F",
                            per);
    return SomarPorChave(*ds, {}, {"V"}).at("")[0];
  };
  ASSERT_EQ(obtido.size(), 2u);
  EXPECT_NEAR(obtido.at("2985|1|")[0], esperado(5102), 0.01);
  EXPECT_NEAR(obtido.at("2991|2|")[0], esperado(1202), 0.01);
}

// Com a opção do F500 = 1, documentos de modelo 57 saem com CFOP 0.
TEST_P(BlocosBanco, Modelo57ComCFOPZeroPelaOpcao) {
  Banco().Executar("UPDATE LCTOFISSAI SET CDMODELO = '57' WHERE CODIGOEMPRESA = 1");
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnParansBlocoF f{1, "", kInicio, kFim, false, 1, false};
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

// Bloco I sobre o banco da demonstração (empresa 5), nas três tabelas de deduções.
class BlocoIBanco : public TBancoDemoBlocos {
 protected:
  static constexpr int kBanco = 5;
  int EmpresasDemo() const override { return kBanco; }
  TSomasPorChave Controle(const std::string& ASQL, const std::vector<std::string>& AChave,
                          const std::vector<std::string>& AValores) {
    auto ds = Banco().Abrir(ASQL, {VarDate(kInicio), VarDate(kFim)});
    return SomarPorChave(*ds, AChave, AValores);
  }
};

// Todo texto roda nas três tabelas (a do presumido com a empresa 2, que tem deduções nela); I100
// e I200/I300 conferem, por CST e alíquotas, com consultas de controle. Os códigos de sete
// dígitos valem pelos quatro primeiros: pela faixa, geral é abaixo de 100 ou entre 1001 e
// 99999; específico, de 101 a 1000 ou de 100000 em diante.
TEST_P(BlocoIBanco, TextosConferemComConsultasDeControleNasTresTabelas) {
  struct TCaso {
    const char* Tabela;
    int Empresa;
    bool EFD, LR;
  };
  // O banco é optante da EFD e do lucro real: a tabela da EFD vem primeiro.
  const TCaso casos[] = {{"EFDDEDUCAOEXCLUSAO", kBanco, true, true},
                         {"LUCROREALDEDUCAOEXCLUSAO", kBanco, false, true},
                         {"LUCROPRESDEDUCAOEXCLUSAO", 2, false, false}};
  double gerais[3] = {0, 0, 0}, especificas[3] = {0, 0, 0};
  for (int n = 0; n < 3; ++n) {
    const TCaso& caso = casos[n];
    const std::string tabela = caso.Tabela, empresa = std::to_string(caso.Empresa);
    SCOPED_TRACE(tabela);
    const TnParansBlocoI i{caso.Empresa, 1, kInicio, kFim, caso.EFD, caso.LR};
    for (const auto& c : CasosBlocoI(i)) EXPECT_GT(Rodar(c.SQL, c.Valores), 0) << c.Nome;
    const std::string vendas =
        " FROM LCTOFISSAIPISCOFINS LP JOIN PRODUTO P ON P.CODIGOEMPRESA = LP.CODIGOEMPRESA AND P.CODIGOPRODUTO = "
        "LP.CODIGOPRODUTO WHERE LP.CODIGOEMPRESA = " + empresa + " AND LP.CODIGOESTAB = 1 AND LP.DATALCTOFIS "
        "BETWEEN :I AND :F AND P.CODIGORECEITA IS NOT NULL ";
    const std::string deducoes = " FROM " + tabela + " WHERE CODIGOEMPRESA = " + empresa +
                                 " AND CODIGOESTAB = 1 AND DATALCTOFIS BETWEEN :I AND :F ";

    // I100: vendas por CST e alíquotas, com as deduções do mesmo CST e alíquotas ao lado.
    auto ds = Nutildb::ExecutarSQL(RI::GetSqlI100(i), RI::GetParams(i));
    const std::vector<std::string> chave = {"CSTDET", "ALIQPIS", "ALIQCOFINS"};
    const auto obtido = SomarPorChave(*ds, chave, {"VALORRECEITA", "BASECALCULO", "VALORPIS", "VALORCOFINS",
                                                   "VALORDETGER", "VALORDETESP"});
    auto esperado = Controle("SELECT LP.CDSITUATRIBUTPIS CSTDET, LP.ALIQPIS, LP.ALIQCOFINS, SUM(LP.RECEITAPISCOFINS) "
                             "R, SUM(LP.BASECALCULOPISCOFINS) B, SUM(LP.VALORPIS) P, SUM(LP.VALORCOFINS) C, 0 G, 0 E" +
                                 vendas + "GROUP BY LP.CDSITUATRIBUTPIS, LP.ALIQPIS, LP.ALIQCOFINS",
                             chave, {"R", "B", "P", "C", "G", "E"});
    const auto det = Controle(
        "SELECT CSTDET, ALIQPIS, ALIQCOFINS, SUM(CASE WHEN CODIGODET < 100 OR CODIGODET BETWEEN 1001 AND 99999 THEN "
        "VALORDET ELSE 0 END) G, SUM(CASE WHEN CODIGODET BETWEEN 101 AND 1000 OR CODIGODET >= 100000 THEN VALORDET "
        "ELSE 0 END) E" + deducoes + "GROUP BY CSTDET, ALIQPIS, ALIQCOFINS",
        chave, {"G", "E"});
    for (const auto& [k, v] : det)
      if (auto it = esperado.find(k); it != esperado.end()) {
        it->second[4] = v[0];
        it->second[5] = v[1];
        gerais[n] += v[0];
        especificas[n] += v[1];
      }
    ConferirSomas(obtido, esperado, 0.005);

    // I200/I300: receitas por CST, alíquotas, código de receita e conta (campo 2) e cada dedução
    // com o seu código (campo 4 as gerais, 5 as demais).
    ds = Nutildb::ExecutarSQL(RI::GetSqlI200_I300(i), RI::GetParams(i));
    const std::vector<std::string> chave2 = {"TIPO", "NUMCAMPO", "CSTDET", "ALIQPIS", "ALIQCOFINS", "CODIGORECEITA",
                                             "CONTACTBEFD"};
    esperado = Controle("SELECT 'R' TIPO, 2 NUMCAMPO, LP.CDSITUATRIBUTPIS CSTDET, LP.ALIQPIS, LP.ALIQCOFINS, "
                        "P.CODIGORECEITA, LP.CONTACTBEFD, SUM(LP.RECEITAPISCOFINS) V" + vendas +
                            "GROUP BY LP.CDSITUATRIBUTPIS, LP.ALIQPIS, LP.ALIQCOFINS, P.CODIGORECEITA, LP.CONTACTBEFD",
                        chave2, {"V"});
    const auto detalhes = Controle("SELECT 'D' TIPO, CASE WHEN CODIGODET < 100 THEN 4 ELSE 5 END NUMCAMPO, CSTDET, "
                                   "ALIQPIS, ALIQCOFINS, CODIGODET CODIGORECEITA, NULL CONTACTBEFD, VALORDET V" +
                                       deducoes,
                                   chave2, {"V"});
    esperado.insert(detalhes.begin(), detalhes.end());
    ConferirSomas(SomarPorChave(*ds, chave2, {"VALORRECEITA"}), esperado, 0.005);
  }
  // A demonstração chega aos dois lados do corte (senão as conferências acima nada provam).
  EXPECT_NEAR(gerais[0], 2250.00, 0.005);
  EXPECT_NEAR(especificas[0], 850.00, 0.005);
  EXPECT_NEAR(gerais[1], 900.00, 0.005);
  EXPECT_NEAR(especificas[1], 300.00, 0.005);
  EXPECT_GT(especificas[2], 0);

  // I010: '7' das receitas vira 1; das deduções a partir de 100, '3' fica 3 e '7' vira 1.
  const TnParansBlocoI efd{kBanco, 1, kInicio, kFim, true, false};
  auto ds = Nutildb::ExecutarSQL(RI::GetSqlI010(efd), RI::GetParams(efd));
  std::multiset<int64_t> indicadores;
  for (; !ds->Eof(); ds->Next()) indicadores.insert(ds->FieldByName("INDATIVIDADE").AsInteger());
  EXPECT_EQ(indicadores, (std::multiset<int64_t>{1, 1, 3}));
  EXPECT_TRUE(RI::MovimentacaoEstab(efd));
  EXPECT_FALSE(RI::MovimentacaoEstab(TnParansBlocoI{kBanco, 2, kInicio, kFim, true, false}));
}

PISCO_INSTANCIAR_BANCOS(BlocoIBanco);

}  // namespace
