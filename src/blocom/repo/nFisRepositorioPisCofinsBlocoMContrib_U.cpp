// Contribuições do repositório monolítico (M200 a M220 e M600 a M620), PIS sobre a folha
// (M350) e receitas isentas (M400/M410 e M800/M810).
#include <map>
#include <tuple>

#include "base/Format.h"
#include "base/Nutil.h"
#include "blocom/repo/nFisRepositorioPisCofinsBlocoM_U.h"
#include "host/DMSQLDataSet.h"
#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "host/LucroRealPresumido.h"
#include "host/Nutildb.h"
#include "host/Nutilinclusao.h"
#include "host/OpcaoEFD.h"

namespace {
struct TMapTotais12 : TRowMap {
  PISCO_CAMPO(VALORTOTAL1);
  PISCO_CAMPO(VALORTOTAL2);
};

struct TMapDebito : TRowMap {
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(VLRECBRT);
  PISCO_CAMPO(VLBC);
  PISCO_CAMPO(QUANTIDADE);
};

struct TMapCoop : TRowMap {
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(INDTIPCOOP);
  PISCO_CAMPO(VLEXCCOOPGER);
  PISCO_CAMPO(VLEXCESPCOOP);
};

struct TMapAjusteBC : TRowMap {
  PISCO_CAMPO(INDAJUSTE);
  PISCO_CAMPO(CODIGOAJUSTE);
  PISCO_CAMPO(VALORAJUSTE);
  PISCO_CAMPO(NUMPROCREF);
  PISCO_CAMPO(DESCRAJUSTE);
  PISCO_CAMPO(DATALCTOFIS);
  PISCO_CAMPO(CONTACTB);
};

struct TMapAjuste : TRowMap {
  PISCO_CAMPO(INDAJUSTE);
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(VALOR);
  PISCO_CAMPO(NATAJUSTE);
  PISCO_CAMPO(CODIGOAJUSTE);
  PISCO_CAMPO(NUMPROCESSO);
  PISCO_CAMPO(DESCAJUSTE);
  PISCO_CAMPO(DATALCTOFIS);
};

struct TMapM350 : TRowMap {
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(EXCLUSAO);
  PISCO_CAMPO(BASECALCULO);
  PISCO_CAMPO(VALORPISPASEP);
  PISCO_CAMPO(TOTALFOLHA);
};

struct TMapM400 : TRowMap {
  PISCO_CAMPO(RECEITAPISCOFINS);
  PISCO_CAMPO(CDSITUATRIBUT);
};

struct TMapM410LctoFis : TRowMap {
  PISCO_CAMPO(RECEITAPISCOFINS);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(CDSITUATRIBUT);
};

struct TMapM410_810DemaisDoc : TRowMap {
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(VALOROPER);
  PISCO_CAMPO(CST);
};

double Valor(const TFieldRef& ACampo) { return ACampo.IsNull() ? 0.0 : ACampo.AsFloat(); }

std::string ListaCodigos(std::initializer_list<int> ACodigos) {
  std::string r;
  for (int c : ACodigos) r += (r.empty() ? "" : ", ") + Nutil::ValorParaSQL(TVariant{int64_t{c}});
  return r;
}

// Receita de cada saída pelo que foi pago no período (pago + desconto sobre o valor da parcela).
std::string ReceitaCaixa(const std::string& AAlias) {
  return " SUM(CAST(" + AAlias +
         ".RECEITAPISCOFINS * ((DPP.VALORPAGO + DPP.VALORDESCONTO) / DP.VALORPARCELA) AS NUMERIC(15,2))) ";
}

std::string JuncoesCaixa(const std::string& AAlias) {
  return " JOIN DUPLICATASAI D ON D.CODIGOEMPRESA = " + AAlias + ".CODIGOEMPRESA " + " AND D.CHAVELCTOFISSAI = " +
         AAlias + ".CHAVELCTOFISSAI " +
         " JOIN (SELECT CODIGOEMPRESA, CODIGOESTAB, CHAVEDUPLICATASAI, "
         " SUM(CAST(VALORPARCELA AS NUMERIC(18,7))) VALORPARCELA FROM DUPLICATASAIPARCELA "
         " GROUP BY CODIGOEMPRESA, CODIGOESTAB, CHAVEDUPLICATASAI) DP "
         " ON DP.CODIGOEMPRESA = D.CODIGOEMPRESA AND DP.CODIGOESTAB = D.CODIGOESTAB "
         " AND DP.CHAVEDUPLICATASAI = D.CHAVEDUPLICATASAI "
         " JOIN DUPLICATASAIPGTO DPP ON DPP.CODIGOEMPRESA = D.CODIGOEMPRESA AND DPP.CODIGOESTAB = D.CODIGOESTAB "
         " AND DPP.CHAVEDUPLICATASAI = D.CHAVEDUPLICATASAI ";
}
}  // namespace

// ------------------------------------------------------------------ M200/M600

void TRepoPisCofinsBlocoM::CarregarDadosM200_600() {
  if (FOptanteLucroReal || FOptanteEFD) {
    CarregarDadosM200_600TributarioLucroReal();
    CarregarDadosM200_600RetidoLucroReal();
  } else if (FOptanteLucroPresumido) {
    CarregarDadosM200_600TributarioLucroPresumido();
    CarregarDadosM200_600RetidoLucroPresumido();
  }
}

std::string TRepoPisCofinsBlocoM::GetSqlM200_600Real() const {
  const std::string codigos = FImposto == 15 ? ListaCodigos({2192, 2193, 2194, 2191, 2195})
                                             : ListaCodigos({2491, 2492, 2493, 2494, 2495});
  const std::string c = " SELECT C.CODIGOEMPRESA, SUM(C.VLCREDDESCEFD) VLCREDDESCEFD "
                        " FROM TOTALLUCROREALCREDSPED C "
                        " WHERE C.CODIGOEMPRESA = :CODIGOEMPRESA "
                        " AND C.CODIGOESTAB = 1 "
                        " AND C.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
                        " AND C.PERAPUCRED < :DATAINICIAL "
                        " AND C.ORIGCRED <> 0 "
                        " AND C.IMPOSTO = " +
                        std::to_string(FImposto) + " GROUP BY C.CODIGOEMPRESA ";
  // A tabela derivada C tem uma linha e a junção com T repete-a a cada operação: MAX lê o
  // valor uma vez só (uma soma o multiplicaria pelo número de operações do mês).
  return "SELECT  SUM(T.VALORTOTAL1) VALORTOTAL1,  SUM(T.VALORTOTAL2) VALORTOTAL2,  MAX(C.VLCREDDESCEFD) "
         "VLCREDDESCEFD  FROM CFGEMPRESAFIS E  LEFT JOIN(" +
         c + ") C  on C.CODIGOEMPRESA = E.CODIGOEMPRESA  LEFT JOIN " + GetTabelaRegime(false) + " T " +
         " ON E.CODIGOEMPRESA = T.CODIGOEMPRESA " + CondicaoEstabRegime("T.") +
         " AND T.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL " + " AND T.CODIGOOPERACAOFIS IN (" + codigos + ") " +
         " WHERE E.CODIGOEMPRESA = :CODIGOEMPRESA ";
}

void TRepoPisCofinsBlocoM::CarregarDadosM200_600TributarioLucroReal() {
  auto ds = ExecutarSQLInt(GetSqlM200_600Real(), GetFiltroEmpresaPeriodo(), false, false, -1);
  if (!ds->Eof()) {
    const double v1 = ds->FieldByName("VALORTOTAL1").IsNull() ? 0 : ds->FieldByName("VALORTOTAL1").AsFloat();
    const double v2 = ds->FieldByName("VALORTOTAL2").IsNull() ? 0 : ds->FieldByName("VALORTOTAL2").AsFloat();
    const double ant = ds->FieldByName("VLCREDDESCEFD").IsNull() ? 0 : ds->FieldByName("VLCREDDESCEFD").AsFloat();
    const int r = FRegimeApuracao;
    if (r == 1 || r == 2) {
      FRegM200_600->FVL_TOT_CRED_DESC_ANT = ant;
      FRegM200_600->FVL_OUT_DED_NC = v1;
    }
    if (r == 2 || r == 3) FRegM200_600->FVL_OUT_DED_CUM = v2;
  }
  Nutildb::DestruirSQL(ds);
}

std::string TRepoPisCofinsBlocoM::GetSqlM200_600RealRetido() const {
  const bool cum = FRegimeApuracao == 3;
  const std::string codigos =
      FImposto == 15 ? (cum ? ListaCodigos({8027, 8028, 8029, 8030, 8031, 8032, 8037})
                            : ListaCodigos({2185, 2186, 2187, 2188, 2189, 2190}))
                     : (cum ? ListaCodigos({8160, 8161, 8162, 8163, 8164, 8165, 8170})
                            : ListaCodigos({2485, 2486, 2487, 2488, 2489, 2490}));
  return " SELECT  SUM(T.VALORTOTAL1) VALORTOTAL1,  SUM(T.VALORTOTAL2) VALORTOTAL2   FROM " + GetTabelaRegime(false) +
         " T " + " WHERE T.CODIGOEMPRESA = :CODIGOEMPRESA " + CondicaoEstabRegime("T.") +
         " AND T.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL " + " AND T.CODIGOOPERACAOFIS IN (" + codigos + ") ";
}

void TRepoPisCofinsBlocoM::CarregarDadosM200_600RetidoLucroReal() {
  auto ds = ExecutarSQLInt(GetSqlM200_600RealRetido(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapTotais12 m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    if (FRegimeApuracao == 3) {
      FRegM200_600->FVL_RET_CUM += Valor(m.VALORTOTAL1);
    } else {
      FRegM200_600->FVL_RET_NC += Valor(m.VALORTOTAL1);
      FRegM200_600->FVL_RET_CUM += Valor(m.VALORTOTAL2);
    }
  }
  Nutildb::DestruirSQL(ds);
}

std::string TRepoPisCofinsBlocoM::GetSqlM200_600Pres() const {
  return "SELECT  SUM(T.VALORTOTAL3) VALORTOTAL3  FROM " + GetTabelaRegime(true) + " T " +
         " WHERE T.CODIGOEMPRESA = :CODIGOEMPRESA " + CondicaoEstabRegime("T.") +
         " AND T.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL " + " AND T.CODIGOOPERACAOFIS IN (" +
         ListaCodigos({FImposto == 15 ? 107 : 167}) + ") ";
}

void TRepoPisCofinsBlocoM::CarregarDadosM200_600TributarioLucroPresumido() {
  auto ds = ExecutarSQLInt(GetSqlM200_600Pres(), GetFiltroEmpresaPeriodo(), false, false, -1);
  if (!ds->Eof() && (FRegimeApuracao == 2 || FRegimeApuracao == 3)) {
    TField& f = ds->FieldByName("VALORTOTAL3");
    FRegM200_600->FVL_OUT_DED_CUM = f.IsNull() ? 0 : f.AsFloat();
  }
  Nutildb::DestruirSQL(ds);
}

std::string TRepoPisCofinsBlocoM::GetSqlM200_600PresRetido() const {
  std::string cond = " CODIGOEMPRESA = " + Nutil::ValorParaSQL(TVariant{int64_t{FConfigBlocoM.CodigoEmpresa}});
  if (FEstabSCP)
    cond += " AND CODIGOESTAB = " + Nutil::ValorParaSQL(TVariant{int64_t{EstabComoInteiro(FConfigBlocoM.CodigoEstab)}});
  cond += " AND DATATOTAL BETWEEN " + Nutil::ValorParaSQL(VarDate(FConfigBlocoM.DataInicial)) + " AND " +
          Nutil::ValorParaSQL(VarDate(FConfigBlocoM.DataFinal));
  cond += " AND CODIGOOPERACAOFIS IN (" +
          (FImposto == 15 ? ListaCodigos({97, 98, 99, 100, 101, 102}) : ListaCodigos({157, 158, 159, 160, 161, 162})) +
          ")";
  return cond;
}

void TRepoPisCofinsBlocoM::CarregarDadosM200_600RetidoLucroPresumido() {
  const TVariant v = TnDMSQLDataSet::PegarValorCampo(GetTabelaRegime(true), "SUM(VALORTOTAL3)", GetSqlM200_600PresRetido());
  FRegM200_600->FVL_RET_CUM = VarIsNull(v) ? 0 : VarToFloat(v);
}

// ------------------------------------------------------------------ M205/M605

// Débito a recolher de cada parte do M200 (campo 08 não cumulativo, 12 cumulativo) sob o
// código de receita do regime da empresa.
void TRepoPisCofinsBlocoM::CarregarDadosM205_605() {
  const bool pis = FImposto == 15;
  int nc = 0, vnc = 0, cum = 0, vcum = 0;
  if (FOptanteLucroReal) {
    nc = pis ? FImpostoPISNaoCumulativo : FImpostoCOFINSNaoCumulativo;
    vnc = pis ? FVariacaoPISNaoCumulativo : FVariacaoCOFINSNaoCumulativo;
    cum = pis ? FImpostoPISCumulativo : FImpostoCOFINSCumulativo;
    vcum = pis ? FVariacaoPISCumulativo : FVariacaoCOFINSCumulativo;
  } else if (FOptanteLucroPresumido) {
    auto& lp = ControleLucroPresumido();
    const TDateTime d = lp.ProcurarDataOpcao(FConfigBlocoM.DataFinal);
    if (pis)
      lp.ApuraPIS(d, cum, vcum);
    else
      lp.ApuraCOFINS(d, cum, vcum);
  } else if (FOptanteEFD) {
    auto& efd = ControleOpcaoEFD();
    nc = pis ? efd.GetCodigoImpostoPISNCum() : efd.GetCodigoImpostoCOFINSNCum();
    vnc = pis ? efd.GetVariacaoImpostoPISNCum() : efd.GetVariacaoImpostoCOFINSNCum();
    cum = pis ? efd.GetCodigoImpostoPISCum() : efd.GetCodigoImpostoCOFINSCum();
    vcum = pis ? efd.GetVariacaoImpostoPISCum() : efd.GetVariacaoImpostoCOFINSCum();
  }
  auto gerar = [&](const char* campo, int codigo, int variacao, double valor) {
    valor = Nutil::RoundValor(valor, 2);
    if (valor <= 0) return;
    auto reg = std::make_unique<TM205_605ContribRecolher>();
    reg->NUM_CAMPO = campo;
    reg->COD_REC = Nutil::PreencherEsquerda(std::to_string(codigo), 4, '0') +
                   Nutil::PreencherEsquerda(std::to_string(variacao), 2, '0');
    reg->VL_DEBITO = valor;
    const std::string chave = reg->NUM_CAMPO + "|" + reg->COD_REC;
    FRegM200_600->FM205_605List.Add(chave, std::move(reg));
  };
  gerar("08", nc, vnc, FRegM200_600->GetVL_CONT_NC_REC());
  gerar("12", cum, vcum, FRegM200_600->GetVL_CONT_CUM_REC());
}

// ------------------------------------------------------------------ M210/M610

// Receita tributada do período por código de contribuição e alíquota: saídas (sem as
// devoluções da tabela temporária), demais documentos de receita e a atividade imobiliária.
// A saída que a ostensiva lançou em nome da SCP é receita da SCP.
std::string TRepoPisCofinsBlocoM::GetSqlM210_610() const {
  const bool pis = FImposto == 15;
  const std::string tipoLP = pis ? "LP.TIPODEBITOPIS" : "LP.TIPODEBITO";
  const std::string tipoD = pis ? "D.TIPODEBITO" : "D.TIPODEBITOCOFINS";
  const std::string tipoI = pis ? "I.TIPODEBITOPIS" : "I.TIPODEBITO";
  const std::string estabSaida = FilterInterval({"COALESCE(L.CODIGOESTABSCP, LP.CODIGOESTAB)"},
                                                [&] {
                                                  std::string e = FConfigBlocoM.CodigoEstab;
                                                  const auto i = e.find_first_not_of(" \t");
                                                  const auto f = e.find_last_not_of(" \t");
                                                  return i == std::string::npos ? std::string()
                                                                                : e.substr(i, f - i + 1);
                                                }(),
                                                {tiExInclusao}, true, kFiltroNumero);
  return Format(
      " SELECT " + tipoLP + " TIPODEBITO, LP.ALIQ%0:s ALIQUOTA, SUM(LP.RECEITAPISCOFINS) VLRECBRT, "
      " SUM(LP.BASECALCULOPISCOFINS) VLBC, SUM(LP.QUANTIDADE) QUANTIDADE "
      " FROM LCTOFISSAIPISCOFINS LP "
      " JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = LP.CODIGOEMPRESA AND L.CHAVELCTOFISSAI = LP.CHAVELCTOFISSAI "
      " LEFT JOIN LCTOFISTMP T ON T.CODIGOEMPRESA = LP.CODIGOEMPRESA AND T.CHAVELCTOFISSAI = LP.CHAVELCTOFISSAI "
      " AND T.CODIGOPRODUTO = LP.CODIGOPRODUTO AND T.SEQ = LP.SEQ "
      " WHERE LP.CODIGOEMPRESA = :CODIGOEMPRESA " +
          estabSaida +
          " AND LP.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
          " AND T.CODIGOEMPRESA IS NULL "
          " AND " +
          tipoLP + " LIKE '4.3.05.%%' AND " + tipoLP +
          " <> '4.3.05.00' "
          " GROUP BY " +
          tipoLP +
          ", LP.ALIQ%0:s, CASE WHEN LP.QUANTIDADE > 0 THEN 1 ELSE 0 END "
          " UNION ALL "
          " SELECT " +
          tipoD +
          " TIPODEBITO, D.ALIQ%0:s ALIQUOTA, SUM(D.VALOROPER) VLRECBRT, SUM(D.BASECALCULO) VLBC, 0 QUANTIDADE "
          " FROM EFDF100DEMAISDOC D "
          " WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA " +
          GetFilterEstab("D.") +
          " AND D.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
          " AND D.INDOPER = 1 AND " +
          tipoD + " LIKE '4.3.05.%%' " + " GROUP BY " + tipoD +
          ", D.ALIQ%0:s "
          " UNION ALL "
          " SELECT " +
          tipoI +
          " TIPODEBITO, I.ALIQ%0:s ALIQUOTA, SUM(I.VLTOTREC) VLRECBRT, SUM(I.VLBC) VLBC, 0 QUANTIDADE "
          " FROM EFDUNIDIMOBVENDIDA I "
          " WHERE I.CODIGOEMPRESA = :CODIGOEMPRESA " +
          GetFilterEstab("I.") +
          " AND I.COMPRECEB BETWEEN :DATAINICIAL AND :DATAFINAL "
          " AND " +
          tipoI + " LIKE '4.3.05.%%' " + " GROUP BY " + tipoI +
          ", I.ALIQ%0:s "
          " ORDER BY 1, 2 ",
      {GetTipoImposto()});
}

void TRepoPisCofinsBlocoM::CarregarDadosM210_610() {
  auto ds = ExecutarSQLInt(GetSqlM210_610(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapDebito m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    const double quant = Valor(m.QUANTIDADE);
    const double aliq = Valor(m.ALIQUOTA);
    const std::string cod = TnFisFuncoes::GetCodigoTipoDebitoConversao(m.TIPODEBITO.AsString());
    const std::string chave = ChaveM100(cod, quant > 0 ? 0 : aliq, quant > 0 ? aliq : 0, 0);
    auto* reg = FRegM200_600->FM210_610List.TryGetValue(chave);
    if (!reg) {
      auto novo = std::make_unique<TM210_610DetalheContrib>();
      novo->FCOD_CONT = cod;
      if (quant > 0)
        novo->FALIQ_QUANT = aliq;
      else
        novo->FALIQ = aliq;
      reg = &FRegM200_600->FM210_610List.Add(chave, std::move(novo));
    }
    reg->FVL_REC_BRT += Valor(m.VLRECBRT);
    if (quant > 0)
      reg->FQUANT_BC += quant;
    else
      reg->FVL_BC_CONT += Valor(m.VLBC);
  }
  Nutildb::DestruirSQL(ds);
}

// Primeiro M210 (ordem das chaves) do código de contribuição.
static TM210_610DetalheContrib* PrimeiroM210(TM200_600ConsolidContribImposto& AM200, const std::string& ACodCont) {
  for (auto* m210 : AM200.FM210_610List.GetListaOrdenada())
    if (m210->FCOD_CONT == ACodCont && m210->FALIQ_QUANT == 0) return m210;
  return nullptr;
}

// ------------------------------------------------------------------ M211/M611

std::string TRepoPisCofinsBlocoM::GetSqlM211_611() const {
  return " SELECT X.TIPODEBITO, X.INDTIPCOOP, SUM(X.VLEXCCOOPGER) VLEXCCOOPGER, SUM(X.VLEXCESPCOOP) VLEXCESPCOOP "
         " FROM EFDEXCLUCOOP X "
         " WHERE X.CODIGOEMPRESA = :CODIGOEMPRESA " +
         GetFilterEstab("X.") + " AND X.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL " +
         " AND X.IMPOSTO = " + std::to_string(FImposto) + " GROUP BY X.TIPODEBITO, X.INDTIPCOOP ORDER BY 1, 2 ";
}

// A composição parte da base antes das exclusões: o M211 devolve ao M210 a base já apurada.
void TRepoPisCofinsBlocoM::CarregarDadosM211_611() {
  auto ds = ExecutarSQLInt(GetSqlM211_611(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapCoop m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    auto* m210 = PrimeiroM210(*FRegM200_600, TnFisFuncoes::GetCodigoTipoDebitoConversao(m.TIPODEBITO.AsString()));
    if (!m210 || m210->FM211_611) continue;
    auto& m211 = m210->CriarM211_611();
    m211.FIND_TIP_COOP = static_cast<int>(m.INDTIPCOOP.AsInteger());
    m211.FVL_EXC_COOP_GER = Valor(m.VLEXCCOOPGER);
    m211.FVL_EXC_ESP_COOP = Valor(m.VLEXCESPCOOP);
    m211.FVL_BC_CONT_ANT_EXC_COOP = m210->FVL_BC_CONT + m211.FVL_EXC_COOP_GER + m211.FVL_EXC_ESP_COOP;
  }
  Nutildb::DestruirSQL(ds);
}

// ------------------------------------------------------------------ M215/M615

// Ajustes da base de apropriação direta (indicador 1) vão para o primeiro M210 do código 01;
// os de rateio pela receita ficam para a extra-apuração.
std::string TRepoPisCofinsBlocoM::GetSqlM215_615() const {
  return " SELECT A.INDAJUSTE, A.CODIGOAJUSTE, A.VALORAJUSTE, A.NUMPROCREF, A.DESCRAJUSTE, A.DATALCTOFIS, A.CONTACTB "
         " FROM EFDAJUSTEBASECALCCONTRIBAPUR A "
         " WHERE A.CODIGOEMPRESA = :CODIGOEMPRESA " +
         GetFilterEstab("A.") +
         " AND A.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
         " AND A.INDAPROPRIACAOAJUSTE = 1 "
         " ORDER BY A.CODIGOESTAB, A.SEQ ";
}

void TRepoPisCofinsBlocoM::CarregarDadosM215_615() {
  auto* m210 = PrimeiroM210(*FRegM200_600, "01");
  auto ds = ExecutarSQLInt(GetSqlM215_615(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapAjusteBC m;
  FieldMapper().MapearFields(*ds, m);
  int seq = 0;
  for (; m210 && !ds->Eof(); ds->Next()) {
    auto reg = std::make_unique<TM215_615AjusteBCContribPIS>();
    reg->FIND_AJ_BC = static_cast<int>(m.INDAJUSTE.AsInteger());
    reg->FVL_AJ_BC = Valor(m.VALORAJUSTE);
    reg->FCOD_AJ_BC = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODIGOAJUSTE.AsString());
    reg->FNUM_DOC = m.NUMPROCREF.AsString();
    reg->FDESCR_AJ_BC = m.DESCRAJUSTE.AsString();
    reg->FDT_REF = m.DATALCTOFIS.IsNull() ? "" : FormatDateTime("ddmmyyyy", m.DATALCTOFIS.AsDateTime());
    reg->FCOD_CTA = m.CONTACTB.AsString();
    m210->FM215_615List.Add(Nutil::PreencherEsquerda(std::to_string(++seq), 5, '0'), std::move(reg));
  }
  Nutildb::DestruirSQL(ds);
}

// ------------------------------------------------------------------ M220/M620

void TRepoPisCofinsBlocoM::CarregarDadosM220_620() {
  auto ds = ExecutarSQLInt(GetSqlM220_620(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapAjuste m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    const std::string cod = TnFisFuncoes::GetCodigoTipoDebitoConversao(m.NATAJUSTE.AsString());
    const double aliq = Valor(m.ALIQUOTA);
    auto* m210 = FRegM200_600->FM210_610List.TryGetValue(ChaveM100(cod, aliq, 0, 0));
    if (!m210) continue;  // ajuste de contribuição sem contribuição do código no período
    TRecM110_510_220_620 r;
    r.IND_AJ = m.INDAJUSTE.AsString();
    r.VL_AJ = Valor(m.VALOR);
    r.COD_AJ = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODIGOAJUSTE.AsString());
    r.NUM_DOC = m.NUMPROCESSO.AsString();
    r.DESCR_AJ = m.DESCAJUSTE.AsString();
    r.DT_REF = m.DATALCTOFIS.IsNull() ? "" : FormatDateTime("ddmmyyyy", m.DATALCTOFIS.AsDateTime());
    const std::string chave = r.IND_AJ + "|" + r.COD_AJ + "|" + r.NUM_DOC + "|" + r.DT_REF + "|" + r.DESCR_AJ;
    if (auto* m220 = m210->FM220_620List.TryGetValue(chave))
      m220->FVL_AJ += r.VL_AJ;
    else
      m210->FM220_620List.Add(chave, RecParaObj(r));
  }
  Nutildb::DestruirSQL(ds);
}

// ------------------------------------------------------------------ M350

std::string TRepoPisCofinsBlocoM::GetSqlM350() const {
  const std::string tabela = FOptanteLucroReal        ? "LucroRealPisPasepFolha"
                             : FOptanteLucroPresumido ? "LucroPresumidoPisPasepFolha"
                                                      : "EFDPisPasepFolha";
  return Format(
      " SELECT  MIN(ALIQUOTA) ALIQUOTA,  SUM(EXCLUSAO) EXCLUSAO,  SUM(BASECALCULO) BASECALCULO,  SUM(VALORPISPASEP) "
      "VALORPISPASEP,  SUM(TOTALFOLHA) TOTALFOLHA  FROM %0:s  WHERE CODIGOEMPRESA = :PCODIGOEMPRESA  %1:s  AND PERIODO "
      "BETWEEN :PDATAINICIAL AND :PDATAFINAL ",
      {tabela, GetFilterEstab("")});
}

void TRepoPisCofinsBlocoM::CarregarDadosM350() {
  auto ds = ExecutarSQLInt(GetSqlM350(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapM350 m;
  FieldMapper().MapearFields(*ds, m);
  if (!ds->Eof()) {
    const double soma =
        Valor(m.TOTALFOLHA) + Valor(m.EXCLUSAO) + Valor(m.BASECALCULO) + Valor(m.ALIQUOTA) + Valor(m.VALORPISPASEP);
    if (soma != 0) {
      auto reg = std::make_unique<TM350FolhaSalarioPIS>();
      reg->VL_TOT_FOL = Valor(m.TOTALFOLHA);
      reg->VL_EXC_BC = Valor(m.EXCLUSAO);
      reg->VL_TOT_BC = Valor(m.BASECALCULO);
      reg->ALIQ_PIS_FOL = Valor(m.ALIQUOTA);
      reg->VL_TOT_CONT_FOL = Valor(m.VALORPISPASEP);
      FAberturaBloco->FM350 = std::move(reg);
    }
  }
  Nutildb::DestruirSQL(ds);
}

// ------------------------------------------------------------------ M400/M800 e M410/M810

std::string TRepoPisCofinsBlocoM::GetSqlM400_M800() const {
  const bool pis = FImposto == 15;
  const std::string cstF = pis ? "E.CST" : "E.CSTCOFINS";
  std::string sql;
  if (GetFormaCaixa())
    sql = "SELECT" + ReceitaCaixa("L") + "RECEITAPISCOFINS,  L.CDSITUATRIBUT%0:s CDSITUATRIBUT  FROM LCTOFISSAIPISCOFINS L " +
          JuncoesCaixa("L") + " WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA " + GetFilterEstab("L.") +
          " AND DPP.DATAPGTO BETWEEN :DATAINICIAL AND :DATAFINAL ";
  else
    sql = "SELECT SUM(L.RECEITAPISCOFINS) RECEITAPISCOFINS,  L.CDSITUATRIBUT%0s CDSITUATRIBUT  FROM LCTOFISSAIPISCOFINS "
          "L  WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA " +
          GetFilterEstab("L.") + " AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  sql += " AND L.VALOR%0:s = 0 "
         " AND L.CDSITUATRIBUT%0:s IN (" +
         GetFiltroCSTM400_M800() + ") " + " GROUP BY L.CDSITUATRIBUT%0:s ";
  sql += " UNION  SELECT SUM(E.VALOROPER) RECEITAPISCOFINS, " +
         std::string(pis ? " E.CST CDSITUATRIBUT " : " E.CSTCOFINS CDSITUATRIBUT ") +
         " FROM EFDF100DEMAISDOC E  WHERE E.CODIGOEMPRESA = :CODIGOEMPRESA "
         " AND E.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
         " AND E.VALOR%0:s = 0 "
         " AND " +
         cstF + " IN (" + GetFiltroCSTM400_M800() + ")" + " GROUP BY " + cstF + " ORDER BY 2";
  return Format(sql, {GetTipoImposto()});
}

std::unique_ptr<TM400_800ReceitaIsenta> TRepoPisCofinsBlocoM::RecParaObj(const TRecM400_800& ARec) {
  auto r = std::make_unique<TM400_800ReceitaIsenta>();
  r->FCST = ARec.CST;
  return r;
}

std::unique_ptr<TM410_810DetalRecIsenta> TRepoPisCofinsBlocoM::RecParaObj(const TRecM410_810& ARec) {
  auto r = std::make_unique<TM410_810DetalRecIsenta>();
  r->NAT_REC = ARec.NAT_REC;
  r->VL_REC = ARec.VL_REC;
  return r;
}

TM400_800ReceitaIsenta& TRepoPisCofinsBlocoM::GetM400_800(int ACST) {
  const std::string chave = std::to_string(ACST);
  if (auto* r = FLstM400_800->TryGetValue(chave)) return *r;
  return FLstM400_800->Add(chave, RecParaObj(TRecM400_800{ACST}));
}

void TRepoPisCofinsBlocoM::GerarM400_800(const TRecM400_800& ARec) { GetM400_800(ARec.CST); }

void TRepoPisCofinsBlocoM::CarregarDadosM400_800() {
  auto ds = ExecutarSQLInt(GetSqlM400_M800(), GetFiltroEmpresaPeriodo(), true, true, -1);
  TMapM400 m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next())
    if (!m.CDSITUATRIBUT.IsNull()) GerarM400_800(TRecM400_800{static_cast<int>(m.CDSITUATRIBUT.AsInteger())});
  Nutildb::DestruirSQL(ds);
}

std::string TRepoPisCofinsBlocoM::GetFiltroSqlM410_M810() const {
  return " where LP.CODIGOEMPRESA = :CODIGOEMPRESA " + GetFilterEstab("LP.") +
         (GetFormaCaixa() ? " and DPP.DATAPGTO BETWEEN :DATAINICIAL AND :DATAFINAL "
                          : " and LP.DATALCTOFIS between :DATAINICIAL and :DATAFINAL ") +
         "and LP.CDSITUATRIBUT%0:s in (" + GetFiltroCSTM400_M800() + ") " + "and LP.VALOR%0:s = 0 ";
}

std::string TRepoPisCofinsBlocoM::GetSqlM410_M810LctoFis() const {
  const std::string t = FImposto == 15 ? "LP.TIPODEBITOPIS" : "LP.TIPODEBITO";
  std::string sql;
  if (GetFormaCaixa())
    sql = " select" + ReceitaCaixa("LP") + "RECEITAPISCOFINS, " + t + " TIPODEBITO, " +
          " LP.CDSITUATRIBUT%0:s CDSITUATRIBUT " + " from LCTOFISSAIPISCOFINS LP " + JuncoesCaixa("LP") +
          GetFiltroSqlM410_M810() + " group by " + t + " , " + " LP.CDSITUATRIBUT%0:s " +
          " order by LP.CDSITUATRIBUT%0:s ";
  else
    sql = " select sum(LP.RECEITAPISCOFINS) RECEITAPISCOFINS, " + t + " TIPODEBITO, " +
          " LP.CDSITUATRIBUT%0:s CDSITUATRIBUT " + " from LCTOFISSAIPISCOFINS LP " + GetFiltroSqlM410_M810() +
          " group by " + t + " , " + " LP.CDSITUATRIBUT%0:s " + " order by LP.CDSITUATRIBUT%0:s";
  // A natureza entra na ordem para que o resultado não dependa do plano do banco.
  sql += ", 2";
  return Format(sql, {GetTipoImposto()});
}

std::string TRepoPisCofinsBlocoM::GetSqlM410_M810DemaisDoc() const {
  const bool pis = FImposto == 15;
  const std::string cst = pis ? "D.CST" : "D.CSTCOFINS";
  return " SELECT " + std::string(pis ? "D.TIPODEBITO" : "D.TIPODEBITOCOFINS") + " TIPODEBITO, " + " D.VALOROPER, " +
         cst + " CST " + " FROM EFDF100DEMAISDOC D " + " WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA " +
         GetFilterEstab("D.") + " AND D.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL " +
         " AND D.INDOPER IN (1, 2) " + " AND " + cst + " IN (" + GetFiltroCSTM400_M800() + ")" +
         " ORDER BY D.CODIGOESTAB, D.SEQ";
}

void TRepoPisCofinsBlocoM::CarregarDadosM410_810() {
  CarregarDadosM410_810LctoFis();
  CarregarDadosM410_810DemaisDoc();
}

void TRepoPisCofinsBlocoM::CarregarDadosM410_810LctoFis() {
  auto ds = ExecutarSQLInt(GetSqlM410_M810LctoFis(), GetFiltroEmpresaPeriodo(), true, true, -1);
  TMapM410LctoFis m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next())
    GerarM410_810(TRecM410_810{TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.TIPODEBITO.AsString()),
                               Valor(m.RECEITAPISCOFINS), static_cast<int>(m.CDSITUATRIBUT.AsInteger())});
  Nutildb::DestruirSQL(ds);
}

void TRepoPisCofinsBlocoM::CarregarDadosM410_810DemaisDoc() {
  auto ds = ExecutarSQLInt(GetSqlM410_M810DemaisDoc(), GetFiltroEmpresaPeriodo(), true, false, -1);
  auto& m = FieldMapper().MapearFields<TMapM410_810DemaisDoc>(*ds);
  for (; !ds->Eof(); ds->Next())
    GerarM410_810(TRecM410_810{TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.TIPODEBITO.AsString()),
                               Valor(m.VALOROPER), static_cast<int>(m.CST.AsInteger())});
  Nutildb::DestruirSQL(ds);
}

void TRepoPisCofinsBlocoM::GerarM410_810(const TRecM410_810& ARec) {
  auto& m400 = GetM400_800(ARec.CstMestre);
  if (auto* m410 = m400.FM410_810List.TryGetValue(ARec.NAT_REC))
    m410->VL_REC += ARec.VL_REC;
  else
    m400.FM410_810List.Add(ARec.NAT_REC, RecParaObj(ARec));
}
