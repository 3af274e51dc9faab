#include "host/ProporcaoCreditos.h"

#include <algorithm>
#include <cctype>

#include "host/CFOP.h"
#include "host/Database.h"
#include "base/Erros.h"
#include "host/FiltroEstab.h"
#include "host/FisFuncoes.h"
#include "host/Host.h"
#include "host/Nutilinclusao.h"

namespace {

using TFiltro = TnArqRepositorioSPEDPisCofinsFiltroEstab;

const char* const ColunasValores[QtdCamposPropCredCst] = {
    "VALORRECTRIBNCUM", "PERCRECTRIBNCUM", "VALORRECCUM",    "PERCRECCUM",
    "VALORRECNTRIB",    "PERCRECNTRIB",    "VALORRECEXPORT", "PERCRECEXPORT"};

std::string ListaColunas(const std::string& AEnvolver = "") {
  std::string r;
  for (int i = 0; i < QtdCamposPropCredCst; ++i) {
    std::string c = ColunasValores[i];
    r += ", " + (AEnvolver.empty() ? c : AEnvolver + "(" + c + ") " + c);
  }
  return r;
}

// Empresa inteira: todos os estabelecimentos menos os de SCP, que apuram à parte.
// AEstab é a coluna (ou a expressão fixa) que diz de que estabelecimento é a receita.
std::string CondicaoEstab(const TnFisPropCreditoParans& AParans, const std::string& AEmpresa,
                          const std::string& AEstab) {
  if (AParans.Consolidado)
    return " AND NOT EXISTS (SELECT 1 FROM ESTAB E WHERE E.CODIGOEMPRESA = " + AEmpresa +
           " AND E.CODIGOESTAB = " + AEstab + " AND E.SOCIEDADECONTAPARTICIPACAO = '1')";
  std::string c = Nutilinclusao::FilterInterval({AEstab}, AParans.CodigoEstab, {tiExInclusao}, false, kFiltroNumero);
  return c.empty() ? "" : " AND (" + c + ")";
}

// Grupos de receita a que cada final de CST de crédito se vincula (tabela 4.3.3 do SPED):
// 0 tributada, 1 não tributada, 2 exportação, 3 trib.+não trib., 4 trib.+export.,
// 5 não trib.+export., 6 as três.
struct TGrupos {
  bool Trib, NTrib, Export;
};
constexpr TGrupos GruposPorFinal[7] = {{true, false, false}, {false, true, false}, {false, false, true},
                                       {true, true, false},  {true, false, true},  {false, true, true},
                                       {true, true, true}};

}  // namespace

std::map<int, TValoresPropCst> TnFisProporcaoCreditos::CalcularProporcoes(const TReceitaRateio& AReceita,
                                                                          bool ARateioCumulativo) {
  std::map<int, TValoresPropCst> r;
  for (int base : {50, 60}) {
    for (int final = 0; final <= 6; ++final) {
      const TGrupos& g = GruposPorFinal[final];
      TValoresPropCst v{};
      v[pcValorRecTribNCum] = g.Trib ? AReceita.TributadaNCum : 0;
      v[pcValorRecCum] = ARateioCumulativo ? AReceita.Cumulativa : 0;
      v[pcValorRecNTrib] = g.NTrib ? AReceita.NaoTributada : 0;
      v[pcValorRecExport] = g.Export ? AReceita.Exportacao : 0;
      double total = v[pcValorRecTribNCum] + v[pcValorRecCum] + v[pcValorRecNTrib] + v[pcValorRecExport];
      if (total > 0) {
        for (int c = 0; c < QtdCamposPropCredCst; c += 2) v[c + 1] = v[c] * 100.0 / total;
      } else if (g.Trib + g.NTrib + g.Export == 1) {
        // Crédito vinculado exclusivamente a um grupo: sem receita no mês, ele fica inteiro
        // nesse grupo. Crédito comum sem receita não tem base de rateio e fica em zero.
        v[g.Trib ? pcPercRecTribNCum : g.NTrib ? pcPercRecNTrib : pcPercRecExport] = 100.0;
      }
      r[base + final] = v;
    }
  }
  return r;
}

void TnFisProporcaoCreditos::ExecutarProporcaoCreditos() {
  TDatabase& banco = THost::Atual().Database();
  std::string sql =
      "SELECT LPC.CDSITUATRIBUTPIS CST, LPC.TIPODEBITOPIS TIPODEBITO, LPC.CODIGOCFOP CODIGOCFOP, "
      "SUM(LPC.RECEITAPISCOFINS) RECEITA FROM LCTOFISSAIPISCOFINS LPC "
      "JOIN LCTOFISSAI LS ON LS.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND LS.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI "
      "WHERE LPC.CODIGOEMPRESA = :CODIGOEMPRESA" +
      // A saída que a ostensiva lança em nome da SCP é receita da SCP.
      CondicaoEstab(FParans, "LPC.CODIGOEMPRESA", "COALESCE(LS.CODIGOESTABSCP, LPC.CODIGOESTAB)") +
      " AND LPC.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND LPC.CDSITUATRIBUTPIS BETWEEN 1 AND 9"
      " GROUP BY LPC.CDSITUATRIBUTPIS, LPC.TIPODEBITOPIS, LPC.CODIGOCFOP"
      " UNION ALL "
      "SELECT D.CST, D.TIPODEBITO, 0, SUM(D.VALOROPER) FROM EFDF100DEMAISDOC D "
      "WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA" + CondicaoEstab(FParans, "D.CODIGOEMPRESA", "D.CODIGOESTAB") +
      " AND D.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND D.INDOPER IN (1, 2) AND D.CST BETWEEN 1 AND 9"
      " GROUP BY D.CST, D.TIPODEBITO";
  auto ds = banco.Abrir(sql, {TVariant(int64_t{FParans.CodigoEmpresa}), VarDate(FParans.DataInicial),
                              VarDate(FParans.DataFinal)});
  const std::vector<int>& transf = LstCFOPTransferencia();
  const std::vector<int>& devol = LstCFOPDevolucao();
  auto contem = [](const std::vector<int>& l, int c) { return std::find(l.begin(), l.end(), c) != l.end(); };
  TReceitaRateio rec;
  for (; !ds->Eof(); ds->Next()) {
    int cst = static_cast<int>(ds->Fields(0).AsInteger());
    std::string debito = ds->Fields(1).IsNull() ? "" : ds->Fields(1).AsString();
    int cfop = ds->Fields(2).IsNull() ? 0 : CFOPQuatroDigitos(static_cast<int>(ds->Fields(2).AsInteger()));
    double valor = ds->Fields(3).IsNull() ? 0 : ds->Fields(3).AsFloat();
    // Transferências e devoluções não são receita.
    if (contem(transf, cfop) || contem(devol, cfop)) continue;
    // Exportação: CFOP 7 e as vendas com fim específico de exportação (5501, 5502, 6501, 6502).
    bool exportacao = cfop / 1000 == 7 || cfop == 5501 || cfop == 5502 || cfop == 6501 || cfop == 6502;
    if (exportacao) {
      rec.Exportacao += valor;
    } else if (cst == 1 || cst == 2 || cst == 3 || cst == 5) {
      // Contribuição 51 em diante (tabela 4.3.05) é do regime cumulativo.
      std::string cod = TnFisFuncoes::GetCodigoTipoDebitoConversao(debito);
      int n = 0;
      for (char c : cod) n = std::isdigit(static_cast<unsigned char>(c)) ? n * 10 + (c - '0') : n;
      if (n >= 51) rec.Cumulativa += valor;
      else rec.TributadaNCum += valor;
    } else {
      rec.NaoTributada += valor;
    }
  }
  FReceita = rec;
  FValores = CalcularProporcoes(rec, FParans.ProporcaoRecCum != 0);
  FDoBanco = false;
}

void TnFisProporcaoCreditos::CarregarProporcaoCreditos() {
  TDatabase& banco = THost::Atual().Database();
  std::string estab = FParans.CodigoEstab;
  bool lista = !FParans.Consolidado && TFiltro::EhEstabInclusion(estab);
  std::map<int, TValoresPropCst> valores;
  if (!lista) {
    long long codigo = FParans.Consolidado ? 0 : std::stoll(estab);
    auto ds = banco.Abrir("SELECT CST" + ListaColunas() +
                              " FROM PROPORCAOCREDITOCST WHERE CODIGOEMPRESA = :CODIGOEMPRESA"
                              " AND CODIGOESTAB = :CODIGOESTAB AND DATAINICIAL = :DATAINICIAL ORDER BY CST",
                          {TVariant(int64_t{FParans.CodigoEmpresa}), TVariant(int64_t{codigo}),
                           VarDate(FParans.DataInicial)});
    for (; !ds->Eof(); ds->Next()) {
      TValoresPropCst v{};
      for (int i = 0; i < QtdCamposPropCredCst; ++i) v[i] = ds->Fields(i + 1).IsNull() ? 0 : ds->Fields(i + 1).AsFloat();
      valores[static_cast<int>(ds->Fields(0).AsInteger())] = v;
    }
  } else {
    // Vários estabelecimentos: somam-se as receitas gravadas e os percentuais são refeitos.
    std::string cond = CondicaoEstabelecimentos("CODIGOESTAB", estab);
    auto ds = banco.Abrir("SELECT CST" + ListaColunas("SUM") +
                              " FROM PROPORCAOCREDITOCST WHERE CODIGOEMPRESA = :CODIGOEMPRESA" +
                              (cond.empty() ? std::string(" AND CODIGOESTAB <> 0") : " AND " + cond) +
                              " AND DATAINICIAL = :DATAINICIAL GROUP BY CST ORDER BY CST",
                          {TVariant(int64_t{FParans.CodigoEmpresa}), VarDate(FParans.DataInicial)});
    for (; !ds->Eof(); ds->Next()) {
      TValoresPropCst v{};
      double total = 0;
      for (int i = 0; i < QtdCamposPropCredCst; i += 2) {
        v[i] = ds->Fields(i + 1).IsNull() ? 0 : ds->Fields(i + 1).AsFloat();
        total += v[i];
      }
      for (int i = 0; i < QtdCamposPropCredCst; i += 2) v[i + 1] = total > 0 ? v[i] * 100.0 / total : 0;
      valores[static_cast<int>(ds->Fields(0).AsInteger())] = v;
    }
  }
  if (valores.empty()) {
    // Período ainda sem proporção gravada: calcula da receita, como no fechamento.
    ExecutarProporcaoCreditos();
    return;
  }
  FValores = std::move(valores);
  FReceita = TReceitaRateio{};
  FDoBanco = true;
}

void TnFisProporcaoCreditos::GravarProporcaoCreditos() {
  if (!FParans.Consolidado && TFiltro::EhEstabInclusion(FParans.CodigoEstab))
    throw EEntradaInvalida("A proporção de créditos é gravada para um estabelecimento ou para a empresa inteira, "
                           "não para a lista \"" + FParans.CodigoEstab + "\".");
  long long codigo = FParans.Consolidado ? 0 : std::stoll(FParans.CodigoEstab);
  TDatabase& banco = THost::Atual().Database();
  TParams chave{TVariant(int64_t{FParans.CodigoEmpresa}), TVariant(int64_t{codigo}), VarDate(FParans.DataInicial)};
  banco.Executar("DELETE FROM PROPORCAOCREDITOCST WHERE CODIGOEMPRESA = :CODIGOEMPRESA"
                 " AND CODIGOESTAB = :CODIGOESTAB AND DATAINICIAL = :DATAINICIAL", chave);
  std::string colunas = "CODIGOEMPRESA, CODIGOESTAB, DATAINICIAL, DATAFINAL, CST" + ListaColunas();
  std::string valores = ":CODIGOEMPRESA, :CODIGOESTAB, :DATAINICIAL, :DATAFINAL, :CST";
  for (int i = 0; i < QtdCamposPropCredCst; ++i) valores += std::string(", :") + ColunasValores[i];
  for (const auto& [cst, v] : FValores) {
    TParams p = chave;
    p.emplace_back(std::in_place_type<TVarDate>, TVarDate{FParans.DataFinal});
    p.emplace_back(std::in_place_type<int64_t>, cst);
    for (double x : v) p.emplace_back(std::in_place_type<double>, x);
    banco.Executar("INSERT INTO PROPORCAOCREDITOCST (" + colunas + ") VALUES (" + valores + ")", p);
  }
}

double TnFisProporcaoCreditos::GetValorCreditoCst(int ACST, int ACampo) const {
  if (ACampo < 0 || ACampo >= QtdCamposPropCredCst)
    throw EEntradaInvalida("Campo de proporção de crédito inválido: " + std::to_string(ACampo));
  auto it = FValores.find(ACST);
  return it == FValores.end() ? 0 : it->second[static_cast<size_t>(ACampo)];
}

std::string TnFisPropCreditoRepositorio::GetSqlProporcaoReceita(const std::string& ACodigoEstab,
                                                                int AReceitaEnqExclusaoBC, int AIncidenciaCST) {
  std::string csts = AIncidenciaCST == 1 ? "1, 2, 3, 4, 5, 6, 7, 8, 9" : "1, 2, 3, 5";
  // Como na proporção de créditos: a saída lançada em nome da SCP é receita da SCP.
  std::string c1 = Nutilinclusao::FilterInterval({"COALESCE(LS.CODIGOESTABSCP, LPC.CODIGOESTAB)"}, ACodigoEstab,
                                                 {tiExInclusao}, false, kFiltroNumero);
  std::string sql =
      "SELECT LPC.CDSITUATRIBUTPIS CDSITUATRIBUT, LPC.TIPODEBITO TIPODEBITO, LPC.ALIQPIS ALIQPIS, "
      "LPC.ALIQCOFINS ALIQCOFINS, CAST(SUM(LPC.RECEITAPISCOFINS) AS NUMERIC(14,2)) RECEITAPISCOFINS "
      "FROM LCTOFISSAIPISCOFINS LPC JOIN LCTOFISSAI LS ON LS.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
      "AND LS.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI WHERE LPC.CODIGOEMPRESA = :CODIGOEMPRESA" +
      (c1.empty() ? "" : " AND (" + c1 + ")") +
      " AND LPC.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND LPC.CDSITUATRIBUTPIS IN (" + csts +
      ") AND LPC.TIPODEBITO <> '4.3.05.00' AND NOT " + MontarFiltroCFOP(LstCFOPTransferencia(), "LPC.CODIGOCFOP") +
      " AND NOT " + MontarFiltroCFOP(LstCFOPDevolucao(), "LPC.CODIGOCFOP") +
      " GROUP BY LPC.CDSITUATRIBUTPIS, LPC.TIPODEBITO, LPC.ALIQPIS, LPC.ALIQCOFINS";
  if (AReceitaEnqExclusaoBC == 1) {
    std::string c2 = CondicaoEstabelecimentos("D.CODIGOESTAB", ACodigoEstab);
    sql += " UNION ALL SELECT D.CST, D.TIPODEBITOCOFINS, D.ALIQPIS, D.ALIQCOFINS, "
           "CAST(SUM(D.VALOROPER) AS NUMERIC(14,2)) FROM EFDF100DEMAISDOC D WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA" +
           (c2.empty() ? "" : " AND " + c2) +
           " AND D.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND D.INDOPER IN (1, 2) AND D.CST IN (" + csts +
           ") GROUP BY D.CST, D.TIPODEBITOCOFINS, D.ALIQPIS, D.ALIQCOFINS";
  }
  return sql + " ORDER BY 1, 2, 3, 4, 5";
}

void TnFisPropCreditoRepositorio::CarregarProporcaoReceita(std::unique_ptr<TDataSet>& ADataSet,
                                                           const TParams& AParams, const std::string& ACodigoEstab,
                                                           int AReceitaEnqExclusaoBC, int AIncidenciaCST) {
  if (AParams.size() != 3)
    throw EEntradaInvalida("CarregarProporcaoReceita espera [empresa, data inicial, data final].");
  ADataSet = THost::Atual().Database().Abrir(
      GetSqlProporcaoReceita(ACodigoEstab, AReceitaEnqExclusaoBC, AIncidenciaCST), AParams);
}
