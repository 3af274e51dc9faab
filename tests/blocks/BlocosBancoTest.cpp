// Blocos A, C, D, F, I, P e 1 contra a demonstração (SQLite e PostgreSQL): todo construtor, em
// todo ramo, prepara e roda; os carregadores; e os registros com valores conferidos com
// consultas de controle escritas aqui, independentes dos textos do repositório.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>

#include "blocks/CatalogoBlocos.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "host/ClientDataSet.h"
#include "host/ControlesFiscais.h"
#include "host/Nutildb.h"
#include "host/OpcaoEFD.h"
#include "base/Erros.h"

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

// Linhas de uma consulta somadas por chave (colunas-chave unidas por '|'). Alíquotas e códigos
// vêm como texto, inteiro ou real conforme o banco: as alíquotas são normalizadas.
using TSomasPorChave = std::map<std::string, std::vector<double>>;
inline TSomasPorChave SomarPorChave(TDataSet& ds, const std::vector<std::string>& AChave,
                                    const std::vector<std::string>& AValores) {
  TSomasPorChave r;
  for (; !ds.Eof(); ds.Next()) {
    std::string k;
    for (const auto& c : AChave) {
      const auto& f = ds.FieldByName(c);
      k += (f.IsNull() ? std::string("-") : c.rfind("ALIQ", 0) == 0 ? std::to_string(std::lround(f.AsFloat() * 10000))
                                                                  : f.AsString()) + "|";
    }
    auto& v = r[k];
    v.resize(AValores.size());
    for (size_t i = 0; i < AValores.size(); ++i) v[i] += ds.FieldByName(AValores[i]).AsFloat();
  }
  return r;
}

// Mesmas chaves dos dois lados e cada soma dentro da tolerância (relativa acima de 1.000,00).
inline void ConferirSomas(const TSomasPorChave& AObtido, const TSomasPorChave& AEsperado, double ATolerancia) {
  ASSERT_FALSE(AEsperado.empty()) << "a demonstração deveria ter linhas";
  ASSERT_EQ(AObtido.size(), AEsperado.size());
  for (const auto& [k, v] : AEsperado) {
    ASSERT_EQ(AObtido.count(k), 1u) << k;
    for (size_t i = 0; i < v.size(); ++i)
      EXPECT_NEAR(AObtido.at(k)[i], v[i], ATolerancia * std::max(1.0, std::abs(v[i]) / 1000)) << k << " coluna " << i;
  }
}

// Banco de demonstração (uma empresa) com a opção da EFD posicionada no início do mês.
class BlocosBanco : public TBancoDemoTeste {
 protected:
  BlocosBanco() : TBancoDemoTeste(1) {}
  void SetUp() override {
    TBancoDemoTeste::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    ControleOpcaoEFD().LimparCache();
    ControleOpcaoEFD().Configurar(1, 1, kInicio);
  }
  // Geração consolidada (1) ou detalhada (0) do F500/F525 e do 1900.
  void OpcaoConsolidada(bool AConsolidado) {
    Banco().Executar("UPDATE OPCAOEFDCOMPL SET GERACAOF500F525 = :G WHERE CODIGOEMPRESA = 1",
                     {TVariant{int64_t{AConsolidado ? 1 : 0}}});
    ControleOpcaoEFD().LimparCache();
  }
  // Linhas da consulta (lidas até o fim).
  int64_t Rodar(const std::string& ASQL, const TParams& AValores) {
    auto ds = Nutildb::ExecutarSQL(ASQL, AValores);
    int64_t n = 0;
    for (; !ds->Eof(); ds->Next()) ++n;
    return n;
  }
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
// que um dos bancos recusa, falha aqui), e cada registro traz linhas em algum ramo. Uma tabela
// de combinações em que cada valor de cada opção aparece ao menos uma vez (o produto inteiro
// leva minutos no PostgreSQL): lado, forma do estabelecimento ("3" é a SCP), SCP em cada lado,
// dicas de índice em cada lado, opção do F500/F525, IndApuracao e IPI do C100.
TEST_P(BlocosBanco, TodoConstrutorEmTodoRamoRoda) {
  struct TComb {
    int16_t Mov;
    const char* Estab;
    bool Scp, Korvel, Consolidado;
    int16_t Ind;
    bool Ipi;
  };
  const TComb combs[] = {{0, "1", false, false, false, 2, false}, {1, "1,2", false, true, true, 2, false},
                         {2, "", false, false, true, 2, false},   {1, "3", true, false, false, 0, false},
                         {2, "3", true, true, false, 2, false},   {0, "3", true, false, true, 0, false},
                         {0, "", false, true, false, 2, true},    {1, "1", true, false, true, 2, false}};
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  for (const auto& k : combs) {
    SCOPED_TRACE(std::string("estab [") + k.Estab + "] mov " + std::to_string(k.Mov) + (k.Scp ? " SCP" : "") +
                 (k.Korvel ? " korvel" : "") + (k.Consolidado ? " consolidado" : "") + " ind " +
                 std::to_string(k.Ind) + (k.Ipi ? " ipi" : ""));
    Host().Configuracao().ForcarKorvel = k.Korvel;
    ApuraIPI(k.Ipi);
    OpcaoConsolidada(k.Consolidado);
    RodarCasos("A ", CasosBlocoA(TnParansBlocoA{1, k.Estab, kInicio, kFim, false, k.Mov, k.Scp}));
    const TnParansBlocoF f{1, k.Estab, kInicio, kFim, false, k.Mov, k.Scp};
    RodarCasos("F ", CasosBlocoF(f, det));
    RodarCasos("F ", CasosBlocoF(f, cons));
    RodarCasos("C ", CasosBlocoC<RC>(TnParansBlocoC{1, k.Estab, kInicio, kFim, false, k.Mov, k.Ind, k.Scp}));
    RodarCasos("C mem ", CasosBlocoC<RM>(TMemParans{1, k.Estab, kInicio, kFim, false, k.Mov, k.Ind}));
    if (k.Mov == 0) RodarCasos("D ", CasosBlocoD(TnParansBlocoD{1, k.Estab, kInicio, kFim, false, k.Scp}));
    RodarCasos("1 ", CasosBloco1(TnParansBloco1{1, k.Estab, kInicio, kFim}, k.Scp ? "0012345-67.2019.4.03" : ""));
  }
  Host().Configuracao().ForcarKorvel = false;
  // Bloco I nas três tabelas de deduções (EFD, lucro real, presumido).
  for (const auto& [efd, lr] : {std::pair{true, true}, std::pair{false, true}, std::pair{false, false}})
    RodarCasos("I ", CasosBlocoI(TnParansBlocoI{1, 1, kInicio, kFim, efd, lr}));
  // Bloco P nos cortes: 2012 antes de abril (operações da lei original), 2012 inteiro, 2013
  // antes de agosto (lista de CST antiga) e o período da demonstração.
  const std::tuple<TDateTime, TDateTime, const char*> periodos[] = {
      {EncodeDate(2012, 3, 1), EncodeDate(2012, 3, 31), "1"},
      {EncodeDate(2012, 12, 1), EncodeDate(2012, 12, 31), "1,2"},
      {EncodeDate(2013, 5, 1), EncodeDate(2013, 5, 31), ""},
      {kInicio, kFim, "1"},
      {kInicio, kFim, ""}};
  for (const auto& [ini, fim, estab] : periodos) {
    SCOPED_TRACE(std::string("P estab [") + estab + "] " + DataISO(ini));
    RodarCasos("P ", CasosBlocoP(TnParansBlocoP{1, estab, ini, fim, false, 1}));
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
  TnClientDataSet* nulos = nullptr;
  RA::CarregarDadosA170(nulos, a);
  ASSERT_NE(nulos, nullptr);
  EXPECT_TRUE(nulos->IsEmpty());
  EXPECT_NE(nulos->FindField("TIPODEBCRED"), nullptr);
  TDataSet* a100 = nullptr;
  RA::CarregarDadosA100(a100, a);
  ASSERT_NE(a100, nullptr);
  EXPECT_EQ(dynamic_cast<TnClientDataSet*>(a100), nullptr);
  EXPECT_FALSE(a100->Eof());
  // A classe do banco abre o C170 com os nulos; a gêmea, com os valores reais, num dataset
  // próprio, e traz as mesmas linhas.
  const TnParansBlocoC c{1, "1", kInicio, kFim, false, 1, 2, false};
  nulos = nullptr;
  RC::CarregarDadosC170(nulos, c);
  ASSERT_NE(nulos, nullptr);
  EXPECT_TRUE(nulos->IsEmpty());
  std::unique_ptr<TDataSet> itens;
  RM::CarregarDadosC170(itens, TMemParans{1, "1", kInicio, kFim, false, 1, 2});
  ASSERT_TRUE(itens);
  int64_t n = 0;
  for (; !itens->Eof(); itens->Next()) ++n;
  EXPECT_GT(n, 0);
  EXPECT_EQ(n, Rodar(RC::GetSqlC170(c), RC::GetParamsEstabData(c)));

  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  const TnParansBlocoF f{1, "", kInicio, kFim, false, 1, false};
  for (const RF* repo : {static_cast<const RF*>(&det), static_cast<const RF*>(&cons)}) {
    TDataSet* f550 = nullptr;
    repo->CarregarDadosF550(f550, f);
    TnClientDataSet* f525 = nullptr;
    repo->CarregarDadosF525(f525, f);
    ASSERT_TRUE(f550 && f525);
    EXPECT_EQ(f550->CommandText(), repo->GetSqlF550(f));
    EXPECT_EQ(f525->CommandText(), repo->GetSqlF525(f));
  }

  // Um resultado de outra classe vindo do cache é erro; erro do banco não mexe no ponteiro.
  auto fluxo = Nutildb::ExecutarSQL("SELECT 1 AS X", {});
  EXPECT_THROW(TnArqRepositorioSPEDPisCofinsBase::ComoCliente(fluxo.get()), EBancoDados);
  nulos = nullptr;
  EXPECT_THROW(TnArqRepositorioSPEDPisCofinsBase::CarregarDados(nulos, a, "SELECT * FROM NAOEXISTE", {}), EPisco);
  EXPECT_EQ(nulos, nullptr);

  EXPECT_TRUE(RI::MovimentacaoEstab(TnParansBlocoI{1, 1, kInicio, kFim, true, false}));
  EXPECT_FALSE(RI::MovimentacaoEstab(TnParansBlocoI{1, 1, EncodeDate(2023, 1, 1), EncodeDate(2023, 1, 31), true, false}));

  // Janeiro/2024 tem ajustes; janeiro/2023 não: nada das linhas de antes no mesmo dataset.
  TnParansBlocoP p{1, "", kInicio, kFim, false, 1};
  std::unique_ptr<TDataSet> p210;
  RP::CarregarDadosP210(p210, p);
  ASSERT_TRUE(p210);
  EXPECT_FALSE(p210->Eof());
  TDataSet* anterior = p210.get();
  p.DataInicial = EncodeDate(2023, 1, 1);
  p.DataFinal = EncodeDate(2023, 1, 31);
  RP::CarregarDadosP210(p210, p);
  EXPECT_EQ(p210.get(), anterior);
  EXPECT_TRUE(p210->Eof());
  p = TnParansBlocoP{1, "", kInicio, kFim, true, 1};
  RP::CarregarDadosP210(p210, p);
  ASSERT_TRUE(p210);
  EXPECT_FALSE(p210->Eof());
}

// Registros com valores: as linhas do repositório, somadas pela chave que importa (CST, CFOP,
// conta, produto, origem), batem com consultas de controle sobre as tabelas cruas. Os blocos F
// e A com cenário próprio (F100, F200, F550, F600, A100/A170) ficam com o cenário.
TEST_P(BlocosBanco, RegistrosComValoresConferemComControle) {
  // Primeiros itens das notas de modelo 55 com o débito 4.3.05.00, que o C180/C181 deixam fora.
  Banco().Executar("UPDATE LCTOFISSAIPISCOFINS SET TIPODEBITO = '4.3.05.00', TIPODEBITOPIS = '4.3.05.00' WHERE "
                   "CODIGOEMPRESA = 1 AND SEQ = 1 AND CHAVELCTOFISSAI IN (SELECT CHAVELCTOFISSAI FROM LCTOFISSAI "
                   "WHERE CODIGOEMPRESA = 1 AND CDMODELO = '55')");
  // Os textos de cada registro, pelo nome do catálogo ("ent " = entradas do bloco C, "cons " =
  // F500 consolidado e 1900 com a opção consolidada, que o 1900 lê ao montar o texto).
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  const TnParansBlocoF f{1, "", kInicio, kFim, false, 1, false};
  const TnParansBloco1 b{1, "", kInicio, kFim};
  const TnParansBlocoP p{1, "", kInicio, kFim, false, 1};
  std::map<std::string, TCasoBloco> cat;
  auto juntar = [&](const std::string& APrefixo, std::vector<TCasoBloco> ACasos) {
    for (auto& c : ACasos) cat[APrefixo + c.Nome] = std::move(c);
  };
  juntar("", CasosBlocoC<RC>(TnParansBlocoC{1, "", kInicio, kFim, false, 1, 2, false}));
  juntar("ent ", CasosBlocoC<RC>(TnParansBlocoC{1, "", kInicio, kFim, false, 0, 2, false}));
  juntar("", CasosBlocoD(TnParansBlocoD{1, "", kInicio, kFim, false, false}));
  juntar("", CasosBlocoF(f, det));
  juntar("cons ", CasosBlocoF(f, cons));
  juntar("", CasosBlocoP(p));
  juntar("", CasosBloco1(b, ""));
  OpcaoConsolidada(true);
  juntar("cons ", CasosBloco1(b, ""));
  OpcaoConsolidada(false);

  // Soma de um campo dos itens de um lado (ENT/SAI) da empresa 1 no mês, agrupada pelas chaves.
  auto lctos = [](const std::string& l, const std::vector<std::string>& AChave, const std::string& AValor,
                  const std::string& AFiltro, const std::string& AFixo = "") {
    static const std::map<std::string, std::string> expr = {
        {"CDSITUATRIBUTPIS", "LPC.CDSITUATRIBUTPIS"}, {"CDSITUATRIBUTCOFINS", "LPC.CDSITUATRIBUTCOFINS"},
        {"CONTACTB", "LPC.CONTACTBEFD"},           {"CODIGOPRODUTO", "LPC.CODIGOPRODUTO"},
        {"TIPOCREDITO", "LPC.TIPOCREDITO"},        {"CODIGOREDUCAOZ", "L.CODIGOREDUCAOZ"},
        {"CODIGOCFOP", "CAST(SUBSTR(CAST(LPC.CODIGOCFOP AS VARCHAR(10)), 1, 4) AS INTEGER)"}};
    std::string campos = AFixo, grupo;
    for (const auto& k : AChave) {
      campos += expr.at(k) + " " + k + ", ";
      grupo += (grupo.empty() ? " GROUP BY " : ", ") + expr.at(k);
    }
    return "SELECT " + campos + "SUM(LPC." + AValor + ") " + AValor + " FROM LCTOFIS" + l + "PISCOFINS LPC JOIN LCTOFIS" +
           l + " L ON L.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND L.CHAVELCTOFIS" + l + " = LPC.CHAVELCTOFIS" + l +
           " WHERE L.CODIGOEMPRESA = 1 AND L.DATALCTOFIS BETWEEN :I AND :F" + AFiltro + grupo;
  };
  const std::string mercadoria =
      " AND EXISTS (SELECT 1 FROM LCTOFISSAICFOP X WHERE X.CODIGOEMPRESA = L.CODIGOEMPRESA AND X.CHAVELCTOFISSAI = "
      "L.CHAVELCTOFISSAI AND X.TIPOIMPOSTO IN (1, 3))";
  const std::string naoDevolucao = " AND LPC.CODIGOCFOP NOT IN (SELECT CODIGOCFOP FROM CFOP WHERE INDDEVOLUCAO = 1)";
  const std::string naoTransf = " AND LPC.CODIGOCFOP NOT IN (SELECT CODIGOCFOP FROM CFOP WHERE INDTRANSFERENCIA = 1)";
  const std::string comTributo = " AND LPC.VALORPIS + LPC.VALORCOFINS > 0";
  const std::string modelosD = " AND L.CDMODELO IN ('7', '8', '8B', '9', '10', '11', '26', '27', '57', '63', '67')";
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
  auto totalP = [](const std::string& ACampos, const std::string& AFiltro) {
    return "SELECT " + ACampos + " FROM TOTALCONTPATRONALDET T WHERE T.CODIGOEMPRESA = 1 AND T.DATATOTAL BETWEEN :I "
           "AND :F AND " + AFiltro;
  };
  const std::string receita1900 =
      "SELECT RECEITAPISCOFINS FROM LCTOFISSAIPISCOFINS WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F "
      "UNION ALL SELECT VALOROPER FROM EFDF100DEMAISDOC WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS BETWEEN :I AND :F "
      "AND INDOPER IN (1, 2)";
  const std::vector<std::string> cstConta = {"CDSITUATRIBUTPIS", "CONTACTB"};
  const std::vector<std::string> produtoCst = {"CODIGOPRODUTO", "CDSITUATRIBUTPIS"};
  const TParams per{VarDate(kInicio), VarDate(kFim)};

  struct TCaso {
    const char* Registro;
    std::vector<std::string> Chave;
    std::string Valor, Controle;
    double Tolerancia = 0.011;
    TParams ValoresControle = {};  // vazio: o mês
  };
  // Itens de um lado (ENT/SAI) somados pelas chaves, com o filtro do registro.
  auto itens = [&](const char* ARegistro, const char* ALado, std::vector<std::string> AChave, const char* AValor,
                   const std::string& AFiltro) {
    return TCaso{ARegistro, AChave, AValor, lctos(ALado, AChave, AValor, AFiltro)};
  };
  const std::string energia = " AND L.CDMODELO IN ('6', '66', '28', '29')", cfe = " AND L.CDMODELO = '59'";
  const std::vector<TCaso> casos = {
      itens("C170", "SAI", cstConta, "VALORPIS",
            " AND L.CDMODELO IN ('1', '1B', '4', '55') AND L.CDSITUACAO IN (0, 1, 6, 7, 8, 99)" + mercadoria),
      itens("C175", "SAI", {"CDSITUATRIBUTPIS", "CODIGOCFOP", "CONTACTB"}, "RECEITAPISCOFINS",
            " AND L.CDMODELO = '65'" + mercadoria + naoTransf),
      itens("C181_185", "SAI", {"CODIGOPRODUTO", "CDSITUATRIBUTCOFINS", "CODIGOCFOP"}, "VALORCOFINS",
            " AND L.CDMODELO IN ('55', '65') AND LPC.TIPODEBITO <> '4.3.05.00'" + mercadoria + naoDevolucao + naoTransf),
      {"C191_195", {"CODIGOPRODUTO", "CDSITUATRIBUTPIS", "INDOPER"}, "VALORPIS",
       lctos("ENT", produtoCst, "VALORPIS", " AND L.CDMODELO = '55'" + comTributo + naoTransf, "0 INDOPER, ") +
           " UNION ALL " +
           lctos("SAI", produtoCst, "VALORPIS",
                 " AND L.CDMODELO = '55'" + comTributo + " AND LPC.CODIGOCFOP IN (SELECT CODIGOCFOP FROM CFOP WHERE "
                 "INDDEVOLUCAO = 1)", "1 INDOPER, ")},
      itens("C381", "SAI", cstConta, "VALORPIS", " AND L.CDMODELO = '2'"),
      itens("C481", "SAI", {"CODIGOREDUCAOZ", "CDSITUATRIBUTPIS"}, "VALORPIS", " AND L.CODIGOREDUCAOZ IS NOT NULL"),
      itens("ent C505", "ENT", {"CDSITUATRIBUTCOFINS", "TIPOCREDITO"}, "VALORCOFINS", energia),
      itens("C601", "SAI", cstConta, "VALORPIS", energia),
      itens("C870", "SAI", cstConta, "VALORPIS", cfe + " AND LPC.QUANTIDADE = 0"),
      itens("C880", "SAI", cstConta, "QUANTIDADE", cfe + " AND LPC.QUANTIDADE > 0"),
      itens("D101", "ENT", cstConta, "VALORPIS", modelosD + comTributo),
      itens("D201", "SAI", {"CDSITUATRIBUTPIS", "CODIGOCFOP", "CONTACTB"}, "VALORPIS", modelosD),
      itens("D505", "ENT", {"CDSITUATRIBUTCOFINS", "CONTACTB"}, "VALORCOFINS", " AND L.CDMODELO IN ('21', '22')"),
      itens("D601", "SAI", cstConta, "VALORPIS",
            " AND L.CDMODELO IN ('21', '22') AND EXISTS (SELECT 1 FROM LCTOFISSAIPRODUTOSPEDD510 SP WHERE "
            "SP.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND SP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI AND SP.SEQ = LPC.SEQ)"),
      // F120 e F130 pelo tipo de crédito do bem, sem os CST sem crédito.
      {"F120", {}, "VLPIS", creditoBem + "IN (1, 6, 7))"},
      {"F130", {}, "VLPIS", creditoBem + "NOT IN (1, 6, 7))"},
      // F150: o estoque de abertura desde onze meses antes.
      {"F150", {}, "VLRCREDPIS",
       "SELECT VLRCREDPIS FROM EFDCREDPRESESTOQABERT WHERE CODIGOEMPRESA = 1 AND DATALCTOFIS >= :I AND DATALCTOFIS <= :F",
       0.011, {VarDate(EncodeDate(2023, 2, 1)), VarDate(kFim)}},
      {"F205", {}, "VLCREDPISDESC",
       "SELECT VLCREDPISDESC FROM EFDUNIDIMOBCUSTOINC WHERE CODIGOEMPRESA = 1 AND COMPRECEB BETWEEN :I AND :F"},
      {"F210", {}, "VLCREDPISUTIL",
       "SELECT VLCREDPISUTIL FROM EFDUNIDIMOBCUSTOORC WHERE CODIGOEMPRESA = 1 AND COMPRECEB BETWEEN :I AND :F"},
      // F500 pelo CST do PIS (detalhado) ou do COFINS (consolidado).
      {"F500", {}, "VLREC", caixa("CDSITUATRIBUTPIS"), 0.02},
      {"cons F500", {}, "VLREC", caixa("CDSITUATRIBUTCOFINS"), 0.02},
      // P100 (2013 em diante): receita líquida da obra e exclusões das devoluções, sem 13050.
      {"P100", {}, "VALORRECEITA",
       totalP("T.VALORTOTAL3 + T.VALORTOTAL4 VALORRECEITA", "T.CODIGOCFOP = 5102 AND T.CODIGOOPERACAOFIS <> 13050") +
           " UNION ALL SELECT -(O.VALORTOTAL3 + O.VALORTOTAL4) FROM TOTALCONTPATRONALOBRADET O WHERE "
           "O.CODIGOEMPRESA = 1 AND O.DATATOTAL BETWEEN :I AND :F"},
      {"P100", {}, "VALOREXCLUSAO", totalP("T.VALORTOTAL3 + T.VALORTOTAL4 VALOREXCLUSAO", "T.CODIGOCFOP = 1202")},
      // 1900: detalhado e consolidado dão a mesma receita, das saídas mais os demais documentos.
      {"1900", {}, "RECEITAPISCOFINS", receita1900, 0.05},
      {"cons 1900", {}, "RECEITAPISCOFINS", receita1900, 0.05},
      {"1050", {}, "VLAJPIS",
       "SELECT D.VLAJPIS FROM EFDEXCAJUSBCPISCOFINSDET D WHERE D.CODIGOEMPRESA = 1 AND D.SEQAJUSTE IN (SELECT A.SEQ "
       "FROM EFDEXCAJUSBCPISCOFINS A WHERE A.CODIGOEMPRESA = 1 AND A.CODIGOESTAB = D.CODIGOESTAB AND A.DATATOTAL "
       "BETWEEN :I AND :F)"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.Registro) + " " + c.Valor);
    const TCasoBloco& reg = cat.at(c.Registro);
    auto ds = Nutildb::ExecutarSQL(reg.SQL, reg.ValoresReais);
    auto ctl = Banco().Abrir(c.Controle, c.ValoresControle.empty() ? per : c.ValoresControle);
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

}  // namespace
