#include "blocks/nArqRepositorioSPEDPisCofinsBloco1_U.h"

#include "base/Format.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoF_U.h"
#include "host/ClientDataSet.h"
#include "host/Nutildb.h"
#include "host/Nutilinclusao.h"
#include "host/OpcaoEFD.h"

namespace {

using TRepo1 = TnArqRepositorioSPEDPisCofinsBloco1;

std::unique_ptr<TDataSet> AbrirCliente(const std::string& ASQL, const TParams& AValores) {
  return Nutildb::ExecutarSQL(ASQL, AValores, true, true, -1, "", nullptr, true);
}

const char* kColunas1900 =
    "CNPJ, CDMODELO, SERIENF, SUBSERIENF, CDSITUACAO, CDSITUATRIBUTPIS, CDSITUATRIBUTCOFINS, CODIGOCFOP, COMPLOBS, "
    "CONTACTB, QUANTDOC";

}  // namespace

std::string TRepo1::GetFiltroCDModelo(const std::string& m) {
  return " CAST(CASE WHEN " + m + " = '97' THEN '99' WHEN " + m + " = '98' THEN '99' WHEN " + m +
         " = '99' THEN '98' WHEN " + m + " IN ('3', '3A', '3B') AND E.SIGLAESTADO = 'DF' THEN '99' ELSE " + m +
         " END AS VARCHAR(3)) ";
}

std::string TRepo1::GetFiltroCFOP(const std::string& m, const std::string& c) {
  return " CAST(CASE WHEN " + m + " IN ('97', '98', '99') THEN 0 WHEN " + m +
         " IN ('2D', '3', '3A', '3B', '55', '65') AND E.SIGLAESTADO = 'DF' AND CAST(SUBSTR(cast(" + c +
         " as varchar(10)), 1, 4) AS INTEGER) IN (9101, 9102, 9103, 9104) THEN 5933 ELSE CAST(SUBSTR(cast(" + c +
         " as varchar(10)), 1, 4) AS INTEGER) END AS INTEGER) ";
}

std::string TRepo1::GetFiltroEstab(const TnParansBloco1& AParans, const std::string& AColuna) {
  return FilterInterval({AColuna}, AParans.CodigoEstab, {tiExInclusao}, true);
}

TParams TRepo1::GetParamsEmp(const TnParansBloco1& AParans) { return {TVariant{int64_t{AParans.CodigoEmpresa}}}; }

std::string TRepo1::GetSql1010_1020(const TnParansBloco1&, const std::string& AProcessos) {
  return "SELECT P.NUMPROCREF, P.SECAOJUD, P.VARA, P.INDNATACAO, P.DESCRDECJUD, P.DATASENTJUD, P.INDPROCREF "
         "FROM PROCESREFERENC P WHERE P.CODIGOEMPRESA = :CODIGOEMPRESA" +
         FilterInterval({"SUBSTR(NUMPROCREF, 1, 20)"}, AProcessos, {tiExInclusao}, true, kFiltroTexto) +
         " ORDER BY P.NUMPROCREF";
}

std::string TRepo1::GetSql1011(const TnParansBloco1& AParans, const std::string& AProcessos) {
  const std::string proc = FilterInterval({"SUBSTR(PPP.NUMPROCREF, 1, 20)"}, AProcessos, {tiExInclusao}, true, kFiltroTexto);
  auto parte = [&](const char* lado, const char* alias, const char* chave, const char* cst) {
    const std::string a = alias;
    return std::string("SELECT '") + lado + "' TIPOLCTO, PPP.NUMPROCREF, " + a + ".DATALCTOFIS, " + a +
           ".CODIGOPESSOA, " + a + ".NUMERONF, " + a + ".CDMODELO, " + chave + " CHAVENFE, LP.CODIGOPRODUTO, "
           "LP.CDSITUATRIBUTPIS, LP.CDSITUATRIBUTCOFINS, LP.ALIQPIS, LP.ALIQCOFINS, LP.BASECALCULOPISCOFINS, "
           "LP.VALORPIS, LP.VALORCOFINS, PPP.CDSITUATRIBUTPIS CSTPISPROC, PPP.CDSITUATRIBUTCOFINS CSTCOFINSPROC, "
           "PPP.ALIQPIS ALIQPISPROC, PPP.ALIQCOFINS ALIQCOFINSPROC " +
           Format("FROM LCTOFIS%0:s " + a + " JOIN LCTOFIS%0:sPISCOFINS LP ON LP.CODIGOEMPRESA = " + a +
                      ".CODIGOEMPRESA AND LP.CHAVELCTOFIS%0:s = " + a + ".CHAVELCTOFIS%0:s",
                  {TVariant{std::string(lado)}}) +
           " JOIN PROCESREFPRODUTOPISCOFINS PPP ON PPP.CODIGOEMPRESA = LP.CODIGOEMPRESA "
           "AND PPP.CODIGOESTAB = LP.CODIGOESTAB AND PPP.CODIGOPRODUTO = LP.CODIGOPRODUTO "
           "WHERE " + a + ".CODIGOEMPRESA = :CODIGOEMPRESA AND " + a + ".DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL" +
           GetFiltroEstab(AParans, a + ".CODIGOESTAB") + " AND PPP.CDSITUATRIBUTPIS BETWEEN " + cst + proc;
  };
  return parte("SAI", "LFS", "LFS.CHAVENFESAI", "1 AND 49") + " UNION " +
         parte("ENT", "LFE", "CAST('' AS VARCHAR(44))", "50 AND 99") + " ORDER BY 1, 2, 3";
}

std::string TRepo1::GetSql1050(const TnParansBloco1& AParans) {
  return "SELECT AJ.CODIGOESTAB, AJ.DATAREFERENCIA, AJ.INDAJBC, AJ.CODIGOAJUSTE, AJ.CNPJ, AJ.VLAJTOT, AJ.INFOCOMPL, "
         "DET.CST, DET.VLAJCST, DET.VLAJPIS, DET.VLAJCOFINS FROM EFDEXCAJUSBCPISCOFINS AJ "
         "JOIN EFDEXCAJUSBCPISCOFINSDET DET ON DET.CODIGOEMPRESA = AJ.CODIGOEMPRESA "
         "AND DET.CODIGOESTAB = AJ.CODIGOESTAB AND DET.SEQAJUSTE = AJ.SEQ "
         "WHERE AJ.CODIGOEMPRESA = :CODIGOEMPRESA AND AJ.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL" +
         GetFiltroEstab(AParans, "AJ.CODIGOESTAB") + " ORDER BY AJ.CODIGOESTAB, AJ.SEQ, DET.SEQ";
}

std::string TRepo1::GetSql1800(const TnParansBloco1& AParans) {
  return "SELECT R.CODIGOESTAB, R.NUMCADIMOB, R.VLRECEITA, R.VLRECFIN, R.VLBCRET, R.ALIQRET, R.VLRECUNI, R.DATARECEB, "
         "R.CODREC FROM EFDINCORPIMOBRET R WHERE R.CODIGOEMPRESA = :CODIGOEMPRESA "
         "AND R.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL" +
         GetFiltroEstab(AParans, "R.CODIGOESTAB") + " ORDER BY R.CODIGOESTAB, R.DATALCTOFIS, R.SEQ";
}

namespace {

// Corpo comum do 1900 (saídas): detalhado traz série, situação, CSTs, CFOP, complemento e contagem.
std::string Sql1900(const TnParansBloco1& p, bool ACaixa, bool ADetalhado) {
  const std::string modelo = TRepo1::GetFiltroCDModelo("L.CDMODELO");
  const std::string cfop = TRepo1::GetFiltroCFOP("L.CDMODELO", "LP.CODIGOCFOP");
  std::string colunas = "E.INSCRFEDERAL CNPJ, " + modelo + " CDMODELO, ";
  std::string grupo = "E.INSCRFEDERAL, " + modelo;
  if (ADetalhado) {
    colunas += "L.SERIENF, L.SUBSERIENF, L.CDSITUACAO, LP.CDSITUATRIBUTPIS, LP.CDSITUATRIBUTCOFINS, " + cfop +
               " CODIGOCFOP, LC.COMPLOBS, LP.CONTACTBEFD CONTACTB, COUNT(DISTINCT L.NUMERONF) QUANTDOC, ";
    grupo += ", L.SERIENF, L.SUBSERIENF, L.CDSITUACAO, LP.CDSITUATRIBUTPIS, LP.CDSITUATRIBUTCOFINS, " + cfop +
             ", LC.COMPLOBS, LP.CONTACTBEFD";
  } else {
    colunas += "CAST(NULL AS VARCHAR(4)) SERIENF, CAST(NULL AS VARCHAR(3)) SUBSERIENF, CAST(NULL AS INTEGER) "
               "CDSITUACAO, CAST(NULL AS INTEGER) CDSITUATRIBUTPIS, CAST(NULL AS INTEGER) CDSITUATRIBUTCOFINS, "
               "CAST(NULL AS INTEGER) CODIGOCFOP, CAST(NULL AS VARCHAR(255)) COMPLOBS, LP.CONTACTBEFD CONTACTB, "
               "CAST(NULL AS INTEGER) QUANTDOC, ";
    grupo += ", LP.CONTACTBEFD";
  }
  std::string s = "SELECT " + colunas;
  if (ACaixa) {
    s += "sum(CAST(LP.RECEITAPISCOFINS * ((DSPP.VALORPAGO + DSPP.VALORDESCONTO) / DP.VALORPARCELA) AS NUMERIC(15,2))) "
         "RECEITAPISCOFINS FROM LCTOFISSAI L";
    s += TnArqRepositorioSPEDPisCofinsBlocoF::GetJoinPrimeiroComplemento();
    s += " JOIN LCTOFISSAIPISCOFINS LP ON LP.CODIGOEMPRESA = L.CODIGOEMPRESA AND LP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
         " JOIN DUPLICATASAI DS ON DS.CODIGOEMPRESA = L.CODIGOEMPRESA AND DS.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
         " JOIN (SELECT CODIGOEMPRESA, CODIGOESTAB, CHAVEDUPLICATASAI, CAST(SUM(VALORPARCELA) AS NUMERIC(18,7)) "
         "VALORPARCELA FROM DUPLICATASAIPARCELA GROUP BY CODIGOEMPRESA, CODIGOESTAB, CHAVEDUPLICATASAI) DP "
         "ON DP.CODIGOEMPRESA = DS.CODIGOEMPRESA AND DP.CODIGOESTAB = DS.CODIGOESTAB "
         "AND DP.CHAVEDUPLICATASAI = DS.CHAVEDUPLICATASAI "
         " JOIN DUPLICATASAIPGTO DSPP ON DSPP.CODIGOEMPRESA = DS.CODIGOEMPRESA AND DSPP.CODIGOESTAB = DS.CODIGOESTAB "
         "AND DSPP.CHAVEDUPLICATASAI = DS.CHAVEDUPLICATASAI "
         " JOIN ESTAB E ON E.CODIGOEMPRESA = L.CODIGOEMPRESA AND E.CODIGOESTAB = L.CODIGOESTAB "
         "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA AND DSPP.DATAPGTO between :DATAINICIAL and :DATAFINAL";
  } else {
    s += "cast(SUM(LP.RECEITAPISCOFINS) as numeric(14,2)) RECEITAPISCOFINS FROM LCTOFISSAI L";
    s += TnArqRepositorioSPEDPisCofinsBlocoF::GetJoinPrimeiroComplemento();
    s += " JOIN LCTOFISSAIPISCOFINS LP ON LP.CODIGOEMPRESA = L.CODIGOEMPRESA AND LP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
         " JOIN ESTAB E ON E.CODIGOEMPRESA = L.CODIGOEMPRESA AND E.CODIGOESTAB = L.CODIGOESTAB "
         "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL";
  }
  s += TRepo1::GetFiltroEstab(p, "L.CODIGOESTAB");
  s += " GROUP BY " + grupo;
  return s;
}

}  // namespace

std::string TRepo1::GetSql1900Detalhado(const TnParansBloco1& AParans, bool ARegimeCaixa) {
  return Sql1900(AParans, ARegimeCaixa, true);
}

std::string TRepo1::GetSql1900Consolidado(const TnParansBloco1& AParans, bool ARegimeCaixa) {
  return Sql1900(AParans, ARegimeCaixa, false);
}

std::string TRepo1::GetSql1990UnionF100(const TnParansBloco1& AParans) {
  return "SELECT E.INSCRFEDERAL CNPJ, CAST('99' AS VARCHAR(3)) CDMODELO, CAST(NULL AS VARCHAR(4)) SERIENF, "
         "CAST(NULL AS VARCHAR(3)) SUBSERIENF, CAST(NULL AS INTEGER) CDSITUACAO, CAST(NULL AS INTEGER) "
         "CDSITUATRIBUTPIS, CAST(NULL AS INTEGER) CDSITUATRIBUTCOFINS, CAST(NULL AS INTEGER) CODIGOCFOP, "
         "CAST(NULL AS VARCHAR(255)) COMPLOBS, F.CONTACTB CONTACTB, CAST(NULL AS INTEGER) QUANTDOC, "
         "cast(SUM(F.VALOROPER) as numeric(14,2)) RECEITAPISCOFINS FROM EFDF100DEMAISDOC F "
         "JOIN ESTAB E ON E.CODIGOEMPRESA = F.CODIGOEMPRESA AND E.CODIGOESTAB = F.CODIGOESTAB "
         "WHERE F.CODIGOEMPRESA = :CODIGOEMPRESA AND F.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
         "AND F.INDOPER IN (1, 2)" +
         GetFiltroEstab(AParans, "F.CODIGOESTAB") + " GROUP BY E.INSCRFEDERAL, F.CONTACTB";
}

std::string TRepo1::GetSql1900UnionF200(const TnParansBloco1& AParans) {
  return "SELECT E.INSCRFEDERAL CNPJ, CAST('99' AS VARCHAR(3)) CDMODELO, CAST(NULL AS VARCHAR(4)) SERIENF, "
         "CAST(NULL AS VARCHAR(3)) SUBSERIENF, CAST(NULL AS INTEGER) CDSITUACAO, V.CSTPIS CDSITUATRIBUTPIS, "
         "V.CSTCOFINS CDSITUATRIBUTCOFINS, CAST(NULL AS INTEGER) CODIGOCFOP, CAST(NULL AS VARCHAR(255)) COMPLOBS, "
         "CAST(NULL AS VARCHAR(60)) CONTACTB, CAST(NULL AS INTEGER) QUANTDOC, "
         "cast(SUM(V.VLTOTREC) as numeric(14,2)) RECEITAPISCOFINS FROM EFDUNIDIMOBVENDIDA V "
         "JOIN ESTAB E ON E.CODIGOEMPRESA = V.CODIGOEMPRESA AND E.CODIGOESTAB = V.CODIGOESTAB "
         "WHERE V.CODIGOEMPRESA = :CODIGOEMPRESA AND V.COMPRECEB BETWEEN :DATAINICIAL AND :DATAFINAL" +
         GetFiltroEstab(AParans, "V.CODIGOESTAB") + " GROUP BY E.INSCRFEDERAL, V.CSTPIS, V.CSTCOFINS";
}

std::string TRepo1::GetSqlTotalizar1900(const std::string& AUniao) {
  return std::string("SELECT ") + kColunas1900 + ", SUM(RECEITAPISCOFINS) RECEITAPISCOFINS FROM (" + AUniao +
         ") T1900 GROUP BY " + kColunas1900;
}

std::string TRepo1::GetSql1900(const TnParansBloco1& AParans, bool ARegimeCaixa) {
  const std::string corpo = ControleOpcaoEFD().GetGeracaoF500F525() ? GetSql1900Consolidado(AParans, ARegimeCaixa)
                                                                    : GetSql1900Detalhado(AParans, ARegimeCaixa);
  return GetSqlTotalizar1900(corpo + " UNION " + GetSql1990UnionF100(AParans));
}

std::string TRepo1::GetSql1900NFCancDetalhado(const TnParansBloco1& AParans) {
  const std::string modelo = GetFiltroCDModelo("L.CDMODELO");
  return "SELECT E.INSCRFEDERAL CNPJ, " + modelo +
         " CDMODELO, L.SERIENF, L.SUBSERIENF, L.CDSITUACAO, CAST(NULL AS INTEGER) CDSITUATRIBUTPIS, "
         "CAST(NULL AS INTEGER) CDSITUATRIBUTCOFINS, CAST(NULL AS INTEGER) CODIGOCFOP, CAST(NULL AS VARCHAR(255)) "
         "COMPLOBS, CAST(NULL AS VARCHAR(60)) CONTACTB, COUNT(DISTINCT L.NUMERONF) QUANTDOC, 0 RECEITAPISCOFINS "
         "FROM LCTOFISSAI L JOIN ESTAB E ON E.CODIGOEMPRESA = L.CODIGOEMPRESA AND E.CODIGOESTAB = L.CODIGOESTAB "
         "WHERE L.CDSITUACAO = 2 AND L.CODIGOEMPRESA = :CODIGOEMPRESA "
         "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL" +
         GetFiltroEstab(AParans, "L.CODIGOESTAB") + " GROUP BY E.INSCRFEDERAL, " + modelo +
         ", L.SERIENF, L.SUBSERIENF, L.CDSITUACAO";
}

std::string TRepo1::GetSql1900NFCanc(const TnParansBloco1& AParans) {
  if (ControleOpcaoEFD().GetGeracaoF500F525()) return "";
  return " union all " + GetSql1900NFCancDetalhado(AParans);
}

std::string TRepo1::GetSqlTemMovReg1900(const TnParansBloco1& AParans) {
  return "SELECT COUNT(*) QUANT FROM LCTOFISSAI L WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA "
         "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL" +
         GetFiltroEstab(AParans, "L.CODIGOESTAB");
}

void TRepo1::CarregarDados1010(std::unique_ptr<TDataSet>& ADataSet, const TnParansBloco1& AParans,
                              const std::string& AProcessos) {
  ADataSet = AbrirCliente(GetSql1010_1020(AParans, AProcessos), GetParamsEmp(AParans));
}

void TRepo1::CarregarDados1020(std::unique_ptr<TDataSet>& ADataSet, const TnParansBloco1& AParans,
                              const std::string& AProcessos) {
  ADataSet = AbrirCliente(GetSql1010_1020(AParans, AProcessos), GetParamsEmp(AParans));
}

void TRepo1::CarregarDados1011(std::unique_ptr<TDataSet>& ADataSet, const TnParansBloco1& AParans,
                              const std::string& AProcessos) {
  ADataSet = AbrirCliente(GetSql1011(AParans, AProcessos), GetParamsEmpData(AParans));
}

void TRepo1::CarregarDados1050(std::unique_ptr<TDataSet>& ADataSet, const TnParansBloco1& AParans) {
  ADataSet = AbrirCliente(GetSql1050(AParans), GetParamsEmpData(AParans));
}

void TRepo1::CarregarDados1800(TDataSet*& ADataSet, const TnParansBloco1& AParans) {
  CarregarDados(ADataSet, AParans, GetSql1800(AParans), GetParamsEmpData(AParans));
}

void TRepo1::CarregarDados1900(TDataSet*& ADataSet, const TnParansBloco1& AParans, bool ARegimeCaixa) {
  CarregarDados(ADataSet, AParans, GetSql1900(AParans, ARegimeCaixa) + GetSql1900NFCanc(AParans),
                GetParamsEmpData(AParans));
}
