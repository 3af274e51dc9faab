#include "blocks/nArqRepositorioSPEDPisCofinsBlocoI_U.h"

#include "base/Format.h"
#include "host/ClientDataSet.h"

namespace {

using TRepoI = TnArqRepositorioSPEDPisCofinsBlocoI;

// Código do detalhe reduzido: acima de 1000, os quatro primeiros dígitos da forma de sete
// dígitos com zeros à esquerda, que é a divisão inteira por 1000 (códigos de até 7 dígitos).
const char* kCodigoReduzido = "(CASE WHEN D.CODIGODET > 1000 THEN D.CODIGODET / 1000 ELSE D.CODIGODET END)";

}  // namespace

std::string TRepoI::GetTabelaDeducaoExclusao(const TnParansBlocoI& AParans) {
  if (AParans.EhOptanteEFD) return "EFDDEDUCAOEXCLUSAO";
  if (AParans.EhOptanteLR) return "LUCROREALDEDUCAOEXCLUSAO";
  return "LUCROPRESDEDUCAOEXCLUSAO";
}

TParams TRepoI::GetParams(const TnParansBlocoI& p) {
  return {TVariant{int64_t{p.CodigoEmpresa}}, TVariant{int64_t{p.CodigoEstab}}, VarDate(DateOf(p.DataInicial)),
          VarDate(DateOf(p.DataFinal))};
}

std::string TRepoI::GetSqlMovEstab(const TnParansBlocoI&) {
  return "SELECT (SELECT COUNT(*) FROM lctofisent E WHERE E.CODIGOEMPRESA = :CODIGOEMPRESA "
         "AND E.CODIGOESTAB = :CODIGOESTAB AND E.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL) + "
         "(SELECT COUNT(*) FROM lctofissai S WHERE S.CODIGOEMPRESA = :CODIGOEMPRESA "
         "AND S.CODIGOESTAB = :CODIGOESTAB AND S.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL) cont";
}

std::string TRepoI::GetSqlI010(const TnParansBlocoI& AParans) {
  std::string s =
      "SELECT DISTINCT CASE SUBSTR(P.CODIGORECEITA, 1, 1) WHEN '7' THEN 1 WHEN '3' THEN 4 WHEN '4' THEN 3 "
      "ELSE CAST(SUBSTR(P.CODIGORECEITA, 1, 1) AS INTEGER) END INDATIVIDADE "
      "FROM LCTOFISSAIPISCOFINS LP JOIN PRODUTO P ON P.CODIGOEMPRESA = LP.CODIGOEMPRESA "
      "AND P.CODIGOPRODUTO = LP.CODIGOPRODUTO "
      "WHERE LP.CODIGOEMPRESA = :CODIGOEMPRESA AND LP.CODIGOESTAB = :CODIGOESTAB "
      "AND LP.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND P.CODIGORECEITA IS NOT NULL "
      "UNION ALL "
      "SELECT DISTINCT CASE SUBSTR(CAST(D.CODIGODET AS VARCHAR(10)), 1, 1) WHEN '5' THEN 3 WHEN '6' THEN 5 "
      "WHEN '7' THEN 1 ELSE CAST(SUBSTR(CAST(D.CODIGODET AS VARCHAR(10)), 1, 1) AS INTEGER) END INDATIVIDADE "
      "FROM %s D WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA AND D.CODIGOESTAB = :CODIGOESTAB "
      "AND D.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND D.CODIGODET >= 100 "
      "ORDER BY 1";  // sem ordem, cada banco devolve a união numa ordem
  return Format(s, {TVariant{GetTabelaDeducaoExclusao(AParans)}});
}

std::string TRepoI::GetJOINSqlI100(const TnParansBlocoI& AParans) {
  std::string s = std::string(" LEFT JOIN (SELECT D.CODIGOEMPRESA, D.CODIGOESTAB, D.CSTDET, D.ALIQPIS, D.ALIQCOFINS, ") +
                  "SUM(CASE WHEN " + kCodigoReduzido + " < 100 THEN D.VALORDET ELSE 0 END) VALORDETGER, "
                  "SUM(CASE WHEN " + kCodigoReduzido + " > 100 THEN D.VALORDET ELSE 0 END) VALORDETESP "
                  "FROM %0:s D WHERE D.CODIGOEMPRESA = :pCODIGOEMPRESA AND D.CODIGOESTAB = :pCODIGOESTAB "
                  "AND D.DATALCTOFIS BETWEEN :pDATAINICIAL AND :pDATAFINAL "
                  "GROUP BY D.CODIGOEMPRESA, D.CODIGOESTAB, D.CSTDET, D.ALIQPIS, D.ALIQCOFINS) DET "
                  "ON DET.CODIGOEMPRESA = R.CODIGOEMPRESA AND DET.CODIGOESTAB = R.CODIGOESTAB "
                  "AND DET.CSTDET = R.CSTDET AND DET.ALIQPIS = R.ALIQPIS AND DET.ALIQCOFINS = R.ALIQCOFINS ";
  return Format(s, {TVariant{GetTabelaDeducaoExclusao(AParans)}});
}

std::string TRepoI::GetSqlI100(const TnParansBlocoI& AParans) {
  std::string s =
      "SELECT R.CODIGOESTAB, R.CSTDET, R.ALIQPIS, R.ALIQCOFINS, R.VALORRECEITA, R.BASECALCULO, R.VALORPIS, "
      "R.VALORCOFINS, COALESCE(DET.VALORDETGER, 0) VALORDETGER, COALESCE(DET.VALORDETESP, 0) VALORDETESP "
      "FROM (SELECT LP.CODIGOEMPRESA, LP.CODIGOESTAB, LP.CDSITUATRIBUTPIS CSTDET, LP.ALIQPIS, LP.ALIQCOFINS, "
      "cast(SUM(LP.RECEITAPISCOFINS) as numeric(14,2)) VALORRECEITA, "
      "cast(SUM(LP.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULO, "
      "cast(SUM(LP.VALORPIS) as numeric(14,2)) VALORPIS, cast(SUM(LP.VALORCOFINS) as numeric(14,2)) VALORCOFINS "
      "FROM LCTOFISSAIPISCOFINS LP JOIN PRODUTO P ON P.CODIGOEMPRESA = LP.CODIGOEMPRESA "
      "AND P.CODIGOPRODUTO = LP.CODIGOPRODUTO "
      "WHERE LP.CODIGOEMPRESA = :pCODIGOEMPRESA AND LP.CODIGOESTAB = :pCODIGOESTAB "
      "AND LP.DATALCTOFIS BETWEEN :pDATAINICIAL AND :pDATAFINAL AND P.CODIGORECEITA IS NOT NULL "
      "GROUP BY LP.CODIGOEMPRESA, LP.CODIGOESTAB, LP.CDSITUATRIBUTPIS, LP.ALIQPIS, LP.ALIQCOFINS) R ";
  s += GetJOINSqlI100(AParans);
  s += "ORDER BY R.CODIGOESTAB, R.CSTDET, R.ALIQPIS, R.ALIQCOFINS";
  return s;
}

std::string TRepoI::GetSqlI200_I300(const TnParansBlocoI& AParans) {
  // Receitas (R) antes dos detalhes (D), na mesma ordem nos dois bancos (nulos por último).
  std::string s =
      "SELECT * FROM (SELECT LP.CDSITUATRIBUTPIS CSTDET, LP.ALIQPIS, LP.ALIQCOFINS, P.CODIGORECEITA, LP.CONTACTBEFD, 2 NUMCAMPO, "
      "'R' TIPO, cast(SUM(LP.RECEITAPISCOFINS) as numeric(14,2)) VALORRECEITA, CAST(NULL AS VARCHAR(255)) INFOCOMPL "
      "FROM LCTOFISSAIPISCOFINS LP JOIN PRODUTO P ON P.CODIGOEMPRESA = LP.CODIGOEMPRESA "
      "AND P.CODIGOPRODUTO = LP.CODIGOPRODUTO "
      "WHERE LP.CODIGOEMPRESA = :CODIGOEMPRESA AND LP.CODIGOESTAB = :CODIGOESTAB "
      "AND LP.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND P.CODIGORECEITA IS NOT NULL "
      "GROUP BY LP.CDSITUATRIBUTPIS, LP.ALIQPIS, LP.ALIQCOFINS, P.CODIGORECEITA, LP.CONTACTBEFD "
      "UNION ALL "
      "SELECT D.CSTDET, D.ALIQPIS, D.ALIQCOFINS, CAST(D.CODIGODET AS VARCHAR(10)) CODIGORECEITA, "
      "CAST(NULL AS VARCHAR(20)) CONTACTBEFD, CASE WHEN D.CODIGODET < 100 THEN 4 ELSE 5 END NUMCAMPO, 'D' TIPO, "
      "D.VALORDET VALORRECEITA, D.INFOCOMPL "
      "FROM %s D WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA AND D.CODIGOESTAB = :CODIGOESTAB "
      "AND D.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL) U "
      "ORDER BY U.TIPO DESC, U.CSTDET, U.ALIQPIS, U.ALIQCOFINS, U.CODIGORECEITA, COALESCE(U.CONTACTBEFD, ''), "
      "U.NUMCAMPO, COALESCE(U.INFOCOMPL, ''), U.VALORRECEITA";
  return Format(s, {TVariant{GetTabelaDeducaoExclusao(AParans)}});
}

bool TRepoI::MovimentacaoEstab(const TnParansBlocoI& AParans) {
  TDataSet* ds = nullptr;
  CarregarDados(ds, AParans, GetSqlMovEstab(AParans), GetParams(AParans));
  return ds && !ds->Eof() && ds->FieldByName("cont").AsInteger() > 0;
}

void TRepoI::CarregarDadosI010(TDataSet*& ADataSet, const TnParansBlocoI& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlI010(AParans), GetParams(AParans));
}

void TRepoI::CarregarDadosI100(TnClientDataSet*& ADataSet, const TnParansBlocoI& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlI100(AParans), GetParams(AParans));
}

void TRepoI::CarregarDadosI200_I300(TnClientDataSet*& ADataSet, const TnParansBlocoI& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlI200_I300(AParans), GetParams(AParans));
}
