#include "blocks/nArqRepositorioSPEDPisCofinsBlocoD_U.h"

#include "base/Nutil.h"
#include "host/ClientDataSet.h"
#include "host/FiltroEstab.h"
#include "host/FisFuncoes.h"
#include "host/Host.h"
#include "host/Nutildb.h"

namespace {

using TRepoD = TnArqRepositorioSPEDPisCofinsBlocoD;
using TFiltro = TnArqRepositorioSPEDPisCofinsFiltroEstab;

// Forma longa: o bloco D não tem lado; passa saídas (1).
std::string Estab(const TnParansBlocoD& p, const std::string& AAlias) {
  return TFiltro::GetFiltroEstab(std::to_string(p.CodigoEmpresa), AAlias, p.CodigoEstab, 1, false, p.EstabSCP);
}
std::string Estab3(const TnParansBlocoD& p, const std::string& AAlias) {
  return TFiltro::GetFiltroEstab(AAlias, p.CodigoEstab, false);
}

std::string ModelosTransporte(const std::string& AAlias) {
  return " AND " + AAlias + ".CDMODELO IN ('7', '8', '8B', '9', '10', '11', '26', '27', '57', '63', '67') ";
}
// Registros de processo: sem o 63.
std::string ModelosTransporteProc(const std::string& AAlias) {
  return " AND " + AAlias + ".CDMODELO IN ('7', '8', '8B', '9', '10', " + " '11', '26', '27', '57', '67') ";
}
const char* kModelosECF = " AND L.CDMODELO IN ('13', '14', '15', '16', '18') ";

// Série aparada e cortada em quatro posições.
std::string Serie(const std::string& AAlias) { return "cast(TRIM(" + AAlias + ".SERIENF) as varchar(4)) SERIENF"; }
std::string SerieGrupo(const std::string& AAlias) { return "TRIM(" + AAlias + ".SERIENF)"; }

std::string CfopQuatro(const std::string& AColuna) {
  return "cast(SUBSTR(cast(" + AColuna + " as varchar(10)), 1, 4) as varchar(4))";
}

// Maior observação dos complementos de cada lançamento de entrada do período.
std::string TabelaLC(const TnParansBlocoD& p) {
  std::string s =
      " LEFT JOIN (SELECT LCTOFISENTCOMPL.CODIGOEMPRESA, LCTOFISENTCOMPL.CHAVELCTOFISENT, "
      "MAX(LCTOFISENTCOMPL.CODOBS0450) CODOBS0450 FROM LCTOFISENTCOMPL ";
  s += "WHERE LCTOFISENTCOMPL.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab3(p, "LCTOFISENTCOMPL");
  s += "and LCTOFISENTCOMPL.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += "group by LCTOFISENTCOMPL.CODIGOEMPRESA, LCTOFISENTCOMPL.CHAVELCTOFISENT) LC ";
  s += "on LC.CODIGOEMPRESA = LE.CODIGOEMPRESA ";
  s += "and LC.CHAVELCTOFISENT = LE.CHAVELCTOFISENT ";
  return s;
}

const char* kExisteCfopEntrada =
    "AND EXISTS (SELECT 1 FROM LCTOFISENTCFOP LEC WHERE LEC.CODIGOEMPRESA = LE.CODIGOEMPRESA "
    "AND LEC.CHAVELCTOFISENT = LE.CHAVELCTOFISENT AND LEC.TIPOIMPOSTO IN (1, 3)) ";

}  // namespace

std::string TRepoD::GetIndexKorvelD101_D105(const TnParansBlocoD&) {
  return EhKorvel() ? " /*+ INDEX(LP LCTOFISENTPRODUTO_01_UC) */ " : "";
}

std::string TRepoD::GetSqlD100(const TnParansBlocoD& AParans) {
  std::string s = "SELECT LE.DATALCTOFIS, LE.NUMERONF, LE.ESPECIENF, " + Serie("LE") +
                  ", LE.SUBSERIENF, LE.CODIGOPESSOA, LE.CDMODELO, LE.CDSITUACAO, LE.CHAVENFEENT, LE.DATAEMISSAO, "
                  "0 TPCTE, LE.CHAVENFEENTREF, LE.VALORCONTABIL, LE.VLRDESC, LE.MODALIDADEFRETE, LE.VLRABATNTRIB, "
                  "LE.EMITENTENF, LE.CANCELADA, MAX(LPC.CONTACTBEFD) CONTACTB, MAX(LC.CODOBS0450) CODOBS0450, "
                  "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(SUM(LP.BASECALCULOICMS) as numeric(14,2)) BASECALCULOICMS, "
                  "cast(SUM(LP.VALORICMS) as numeric(14,2)) VALORICMS "
                  "FROM LCTOFISENT LE "
                  "JOIN LCTOFISENTPRODUTO LP ON LP.CODIGOEMPRESA = LE.CODIGOEMPRESA "
                  "AND LP.CHAVELCTOFISENT = LE.CHAVELCTOFISENT "
                  "JOIN LCTOFISENTPISCOFINS LPC ON LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
                  "AND LPC.CHAVELCTOFISENT = LP.CHAVELCTOFISENT AND LPC.SEQ = LP.SEQ "
                  "AND LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO ";
  s += TabelaLC(AParans);
  s += "WHERE LE.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab3(AParans, "LE");
  s += "AND LE.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += ModelosTransporte("LE");
  s += "AND LPC.VALORPIS + LPC.VALORCOFINS > 0 ";
  s += kExisteCfopEntrada;
  s += "GROUP BY LE.CHAVELCTOFISENT, LE.DATALCTOFIS, LE.NUMERONF, LE.ESPECIENF, " + SerieGrupo("LE") +
       ", LE.SUBSERIENF, LE.CHAVELCTOFISENT, LE.CODIGOPESSOA, LE.CDMODELO, LE.CDSITUACAO, LE.CHAVENFEENT, "
       "LE.DATAEMISSAO, LE.DATALCTOFIS, LE.CHAVENFEENTREF, LE.VALORCONTABIL, LE.VLRDESC, LE.MODALIDADEFRETE, "
       "LE.VLRABATNTRIB, LE.EMITENTENF, LE.CANCELADA ";
  s += "ORDER BY LE.DATALCTOFIS, LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, 4, LE.SUBSERIENF";
  return s;
}

namespace {

std::string SqlD101D105(const TnParansBlocoD& p, bool APis) {
  const std::string cst = APis ? "CDSITUATRIBUTPIS" : "CDSITUATRIBUTCOFINS";
  const std::string credito = APis ? "MAX(LPC.TIPOCREDITOPIS) TIPOCREDITO" : "MAX(LPC.TIPOCREDITO) TIPOCREDITO";
  const std::string aliq = APis ? "ALIQPIS" : "ALIQCOFINS";
  const std::string tributo = APis ? "VALORPIS" : "VALORCOFINS";
  std::string s = " SELECT " + TRepoD::GetIndexKorvelD101_D105(p) + " LP.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, "
                  "L.ESPECIENF, " + Serie("L") + ", L.SUBSERIENF, LP.INDNATFRT, MAX(LPC." + cst + ") " + cst + ", " +
                  credito + ", cast(MAX(LPC." + aliq + ") as numeric(14,6)) " + aliq +
                  ", MAX(LPC.CONTACTBEFD) CONTACTB, "
                  "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(SUM(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
                  "cast(SUM(LPC." + tributo + ") as numeric(14,2)) " + tributo + " "
                  "FROM LCTOFISENTPRODUTO LP "
                  "JOIN LCTOFISENT L ON L.CODIGOEMPRESA = LP.CODIGOEMPRESA AND L.CHAVELCTOFISENT = LP.CHAVELCTOFISENT "
                  "JOIN LCTOFISENTPISCOFINS LPC ON LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
                  "AND LPC.CHAVELCTOFISENT = LP.CHAVELCTOFISENT AND LPC.SEQ = LP.SEQ "
                  "AND LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO ";
  s += "WHERE LP.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab3(p, "LP");
  s += "AND LP.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += ModelosTransporte("L");
  s += " AND LPC.VALORPIS + LPC.VALORCOFINS > 0 ";
  s += "GROUP BY LP.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, " + SerieGrupo("L") +
       ", L.SUBSERIENF, LP.INDNATFRT ";
  s += "ORDER BY LP.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, 5, L.SUBSERIENF";
  return s;
}

}  // namespace

std::string TRepoD::GetSqlD101(const TnParansBlocoD& AParans) { return SqlD101D105(AParans, true); }
std::string TRepoD::GetSqlD105(const TnParansBlocoD& AParans) { return SqlD101D105(AParans, false); }

std::string TRepoD::GetSqlD111(const TnParansBlocoD& AParans) {
  std::string s = "SELECT LS.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, " + Serie("L") +
                  ", L.SUBSERIENF, LS.NUMPROC, P.INDPROCREF FROM LCTOFISENT L "
                  " INNER JOIN LCTOFISENTSPEDC111 LS ON LS.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND LS.CHAVELCTOFISENT = L.CHAVELCTOFISENT "
                  "JOIN PROCESREFERENC P ON P.CODIGOEMPRESA = LS.CODIGOEMPRESA AND P.NUMPROCREF = LS.NUMPROC ";
  s += "WHERE L.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab3(AParans, "LS");
  s += "AND L.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += ModelosTransporteProc("L");
  s += GetFiltroIndProcRef("P.INDPROCREF");
  s += "ORDER BY LS.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, 5, L.SUBSERIENF";
  return s;
}

std::string TRepoD::GetSqlD200(const TnParansBlocoD& AParans) {
  const std::string cfop = CfopQuatro("LP.CODIGOCFOP");
  std::string s = "SELECT L.CDMODELO, L.CDSITUACAO, " + Serie("L") + ", L.SUBSERIENF, " + cfop +
                  " CODIGOCFOP, L.DATALCTOFIS, MIN(L.NUMERONF) NUMERONF, MAX(L.NUMERONFFINAL) NUMERONFFINAL, "
                  "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(SUM(LP.VALORDESCONTO) as numeric(14,2)) VALORDESCONTO "
                  "FROM LCTOFISSAI L "
                  "JOIN LCTOFISSAIPISCOFINS PC ON PC.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND PC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
                  "JOIN LCTOFISSAIPRODUTO LP ON LP.CODIGOEMPRESA = PC.CODIGOEMPRESA "
                  "AND LP.CHAVELCTOFISSAI = PC.CHAVELCTOFISSAI AND LP.CODIGOPRODUTO = PC.CODIGOPRODUTO "
                  "AND LP.CODIGOCFOP = PC.CODIGOCFOP AND LP.SEQ = PC.SEQ ";
  s += "WHERE L.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab(AParans, "L");
  s += "AND L.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += ModelosTransporte("L");
  const std::string devolucao = Nutil::ValorParaSQL(TVariant{std::string("4.3.05.00")});
  s += " AND PC.TIPODEBITOPIS <> " + devolucao;
  s += " AND PC.TIPODEBITO <> " + devolucao;
  s += " GROUP BY L.CDMODELO, L.CDSITUACAO, " + SerieGrupo("L") + ", L.SUBSERIENF, " + cfop + ", L.DATALCTOFIS ";
  s += "ORDER BY L.DATALCTOFIS";
  return s;
}

namespace {

std::string SqlD201D205(const TnParansBlocoD& p, bool APis) {
  const std::string cst = APis ? "LSPC.CDSITUATRIBUTPIS" : "LSPC.CDSITUATRIBUTCOFINS";
  const std::string aliq = APis ? "LSPC.ALIQPIS" : "LSPC.ALIQCOFINS";
  const std::string tributo = APis ? "VALORPIS" : "VALORCOFINS";
  const std::string cfop = CfopQuatro("LSP.CODIGOCFOP");
  std::string s = "SELECT LS.CDMODELO, LS.CDSITUACAO, LS.NUMERONF, " + Serie("LS") + ", LS.SUBSERIENF, LS.DATALCTOFIS, " +
                  cfop + " CODIGOCFOP, " + cst + ", "
                  "cast(SUM(LSP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(SUM(LSPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
                  "cast(SUM(LSPC." + tributo + ") as numeric(14,2)) " + tributo + ", " + aliq +
                  ", LSPC.CONTACTBEFD CONTACTB "
                  "FROM LCTOFISSAI LS "
                  "JOIN LCTOFISSAIPISCOFINS LSPC ON LSPC.CODIGOEMPRESA = LS.CODIGOEMPRESA "
                  "AND LSPC.CHAVELCTOFISSAI = LS.CHAVELCTOFISSAI "
                  "JOIN LCTOFISSAIPRODUTO LSP ON LSP.CODIGOEMPRESA = LSPC.CODIGOEMPRESA "
                  "AND LSP.CHAVELCTOFISSAI = LSPC.CHAVELCTOFISSAI AND LSP.SEQ = LSPC.SEQ "
                  "AND LSP.CODIGOPRODUTO = LSPC.CODIGOPRODUTO AND LSP.CODIGOCFOP = LSPC.CODIGOCFOP ";
  s += "WHERE LS.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab(p, "LS");
  s += "AND LS.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += ModelosTransporte("LS");
  s += "GROUP BY LS.CDMODELO, LS.CDSITUACAO, LS.NUMERONF, " + SerieGrupo("LS") + ", LS.SUBSERIENF, LS.DATALCTOFIS, " +
       cfop + ", " + cst + ", " + aliq + ", LSPC.CONTACTBEFD ";
  s += "ORDER BY " + cst + ", " + aliq + ", LSPC.CONTACTBEFD";
  return s;
}

}  // namespace

std::string TRepoD::GetSqlD201(const TnParansBlocoD& AParans) { return SqlD201D205(AParans, true); }
std::string TRepoD::GetSqlD205(const TnParansBlocoD& AParans) { return SqlD201D205(AParans, false); }

std::string TRepoD::GetSqlD209(const TnParansBlocoD& AParans) {
  std::string s = "SELECT L.CDMODELO, L.CDSITUACAO, L.NUMERONF, " + Serie("L") +
                  ", L.SUBSERIENF, LS.DATALCTOFIS, LS.NUMPROC, P.INDPROCREF FROM LCTOFISSAI L "
                  "JOIN LCTOFISSAISPEDC111 LS ON LS.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND LS.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
                  "JOIN PROCESREFERENC P ON P.CODIGOEMPRESA = LS.CODIGOEMPRESA AND P.NUMPROCREF = LS.NUMPROC ";
  s += "WHERE L.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab(AParans, "L");
  s += "AND L.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += ModelosTransporteProc("L");
  s += GetFiltroIndProcRef("P.INDPROCREF");
  s += "ORDER BY L.CDMODELO, L.CDSITUACAO, 4, L.SUBSERIENF, LS.DATALCTOFIS, L.NUMERONF";
  return s;
}

std::string TRepoD::GetSqlD300(const TnParansBlocoD& AParans) {
  const std::string cfop = CfopQuatro("LP.CODIGOCFOP");
  std::string s = "SELECT L.CDMODELO, " + Serie("L") +
                  ", L.SUBSERIENF, MIN(L.NUMERONF) NUMERONF, MAX(L.NUMERONFFINAL) NUMERONFFINAL, " + cfop +
                  " CODIGOCFOPN, L.DATALCTOFIS, LPC.CDSITUATRIBUTPIS, LPC.ALIQPIS, LPC.CDSITUATRIBUTCOFINS, "
                  "LPC.ALIQCOFINS, "
                  "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(SUM(LP.VALORDESCONTO) as numeric(14,2)) VALORDESCONTO, "
                  "cast(SUM(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
                  "cast(SUM(LPC.VALORPIS) as numeric(14,2)) VALORPIS, "
                  "cast(SUM(LPC.VALORCOFINS) as numeric(14,2)) VALORCOFINS, MAX(LPC.CONTACTBEFD) CONTACTB "
                  "FROM LCTOFISSAI L "
                  "JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
                  "JOIN LCTOFISSAIPRODUTO LP ON LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
                  "AND LP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI AND LP.SEQ = LPC.SEQ "
                  "AND LP.CODIGOPRODUTO = LPC.CODIGOPRODUTO ";
  s += "WHERE L.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab(AParans, "L");
  s += "AND L.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += kModelosECF;
  // Cupons de impressora fiscal (com redução Z) vão no D350.
  s += " AND NOT EXISTS (SELECT 1 FROM LCTOFISSAIREDUCAOZ LZ "
       "JOIN IMPRESSORAFISCAL IMP ON IMP.CODIGOEMPRESA = LZ.CODIGOEMPRESA AND IMP.CODIGOESTAB = LZ.CODIGOESTAB "
       "AND IMP.CODIGOIMPRESSORAFISCAL = LZ.CODIGOIMPRESSORAFISCAL "
       "WHERE LZ.CODIGOEMPRESA = L.CODIGOEMPRESA AND L.CODIGOREDUCAOZ = LZ.CODIGOREDUCAOZ) ";
  s += "GROUP BY L.CDMODELO, " + SerieGrupo("L") + ", L.SUBSERIENF, " + cfop +
       ", L.DATALCTOFIS, LPC.CDSITUATRIBUTPIS, LPC.CDSITUATRIBUTCOFINS, LPC.ALIQPIS, LPC.ALIQCOFINS ";
  s += "ORDER BY L.DATALCTOFIS, L.CDMODELO, 2, L.SUBSERIENF, CODIGOCFOPN";
  return s;
}

std::string TRepoD::GetSqlD309(const TnParansBlocoD& AParans) {
  std::string s = "SELECT L.CDMODELO, " + Serie("L") + ", L.SUBSERIENF, L.NUMERONF, MAX(" +
                  CfopQuatro("C.CODIGOCFOP") +
                  ") CODIGOCFOPN, LS.DATALCTOFIS, LS.NUMPROC, P.INDPROCREF FROM LCTOFISSAI L "
                  "JOIN LCTOFISSAISPEDC111 LS ON LS.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND LS.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
                  "JOIN PROCESREFERENC P ON P.CODIGOEMPRESA = LS.CODIGOEMPRESA AND P.NUMPROCREF = LS.NUMPROC "
                  "JOIN LCTOFISSAICFOP C ON C.CODIGOEMPRESA = L.CODIGOEMPRESA AND C.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI ";
  s += "WHERE L.CODIGOEMPRESA = :pCODIGOEMPRESA ";
  s += Estab(AParans, "L");
  s += "AND L.DATALCTOFIS BETWEEN :pDATAINICIAL AND :pDATAFINAL ";
  s += kModelosECF;
  s += GetFiltroIndProcRef("P.INDPROCREF");
  s += "GROUP BY L.CDMODELO, " + SerieGrupo("L") +
       ", L.SUBSERIENF, L.NUMERONF, LS.DATALCTOFIS, LS.NUMPROC, P.INDPROCREF ";
  s += "ORDER BY L.CDMODELO, 2, L.SUBSERIENF, LS.DATALCTOFIS, L.NUMERONF, CODIGOCFOPN";
  return s;
}

std::string TRepoD::GetSqlD350(const TnParansBlocoD& AParans) {
  const std::string cols =
      "LCS.CDMODELO, IMF.DESCRIMPRESSORAFISCAL, IMF.NUMEROSERIE, LCZ.CODIGOIMPRESSORAFISCAL, LCZ.DATALCTOFIS, "
      "LCZ.CONTADORREINICIOOPERACAO, LCZ.CONTADORREDUCAOZ, LCZ.CUPOMFINAL, LCZ.TOTALGERAL, ";
  std::string s = "SELECT " + cols +
                  "LPC.RECEITAPISCOFINS TOTALBRUTO, LPC.CDSITUATRIBUTPIS, LPC.BASECALCULOPISCOFINS BASECALCULOPIS, "
                  "LPC.ALIQPIS, LPC.QUANTIDADE QUANTIDADEPIS, LPC.ALIQPIS ALIQPISQTD, LPC.VALORPIS, "
                  "LPC.CDSITUATRIBUTCOFINS, LPC.BASECALCULOPISCOFINS BASECALCULOCOFINS, LPC.ALIQCOFINS, "
                  "LPC.QUANTIDADE QUANTIDADECOFINS, LPC.ALIQCOFINS ALIQCOFINSQUANT, LPC.VALORCOFINS, "
                  "MAX(LPC.CONTACTBEFD) AS CONTACTBEFD, PRO.DACONTIPORECEITA "
                  "FROM LCTOFISSAI LCS "
                  "JOIN LCTOFISSAIREDUCAOZ LCZ ON LCZ.CODIGOREDUCAOZ = LCS.CODIGOREDUCAOZ "
                  "AND LCZ.CODIGOEMPRESA = LCS.CODIGOEMPRESA "
                  "JOIN IMPRESSORAFISCAL IMF ON IMF.CODIGOIMPRESSORAFISCAL = LCZ.CODIGOIMPRESSORAFISCAL "
                  "AND IMF.CODIGOEMPRESA = LCZ.CODIGOEMPRESA AND IMF.CODIGOESTAB = LCZ.CODIGOESTAB "
                  "JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CHAVELCTOFISSAI = LCS.CHAVELCTOFISSAI "
                  "AND LPC.CODIGOEMPRESA = LCS.CODIGOEMPRESA "
                  "JOIN PRODUTO PRO ON PRO.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND PRO.CODIGOPRODUTO = LPC.CODIGOPRODUTO ";
  s += "WHERE LCS.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "LCS");
  s += " AND LCS.DATALCTOFIS BETWEEN :pDataInicial AND :pDataFinal ";
  s += " AND LCS.CDMODELO IN ('2E', '13', '14', '15', '16') ";
  s += "GROUP BY " + cols +
       "LPC.RECEITAPISCOFINS, LPC.CDSITUATRIBUTPIS, LPC.BASECALCULOPISCOFINS, LPC.ALIQPIS, LPC.QUANTIDADE, "
       "LPC.ALIQPIS, LPC.VALORPIS, LPC.CDSITUATRIBUTCOFINS, LPC.BASECALCULOPISCOFINS, LPC.ALIQCOFINS, "
       "LPC.QUANTIDADE, LPC.ALIQCOFINS, LPC.VALORCOFINS, PRO.DACONTIPORECEITA";
  return s;
}

std::string TRepoD::GetSqlD500(const TnParansBlocoD& AParans) {
  const std::string cols = "LE.DATALCTOFIS, LE.NUMERONF, LE.ESPECIENF, ";
  const std::string resto =
      ", LE.SUBSERIENF, LE.CODIGOPESSOA, LE.CDMODELO, LE.CDSITUACAO, LE.DATAEMISSAO, LE.VALORCONTABIL, LE.VLRDESC, "
      "LE.VLRABATNTRIB, D500.VALORTERCEIRO, LE.VLROUTRDESP, LPC.VALORPIS, LPC.VALORCOFINS, LE.EMITENTENF, "
      "LE.CANCELADA";
  std::string s = "SELECT " + cols + Serie("LE") + resto +
                  ", MAX(LC.CODOBS0450) CODOBS0450, "
                  "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(SUM(LP.BASECALCULOICMS) as numeric(14,2)) BASECALCULOICMS, "
                  "cast(SUM(LP.VALORICMS) as numeric(14,2)) VALORICMS "
                  "FROM LCTOFISENT LE "
                  "LEFT JOIN LCTOFISENTPRODUTO LP ON LP.CODIGOEMPRESA = LE.CODIGOEMPRESA "
                  "AND LP.CHAVELCTOFISENT = LE.CHAVELCTOFISENT "
                  "LEFT JOIN LCTOFISENTPISCOFINS LPC ON LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
                  "AND LPC.CHAVELCTOFISENT = LP.CHAVELCTOFISENT AND LPC.SEQ = LP.SEQ "
                  "AND LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO "
                  "LEFT JOIN LCTOFISENTSPEDD500 D500 ON D500.CODIGOEMPRESA = LE.CODIGOEMPRESA "
                  "AND D500.CHAVELCTOFISENT = LE.CHAVELCTOFISENT ";
  s += TabelaLC(AParans);
  s += "WHERE LE.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab3(AParans, "LE");
  s += "AND LE.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += "AND LE.CDMODELO IN ('21', '22') ";
  s += "AND (LPC.VALORPIS + LPC.VALORCOFINS) > 0 ";
  s += kExisteCfopEntrada;
  s += "GROUP BY " + cols + SerieGrupo("LE") + resto + " ";
  s += "ORDER BY LE.DATALCTOFIS, LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, 4, LE.SUBSERIENF";
  return s;
}

namespace {

std::string SqlD501D505(const TnParansBlocoD& p, bool APis) {
  const std::string cst = APis ? "LSPC.CDSITUATRIBUTPIS" : "LSPC.CDSITUATRIBUTCOFINS";
  const std::string credito = APis ? "LSPC.TIPOCREDITOPIS TIPOCREDITO" : "LSPC.TIPOCREDITO";
  const std::string aliq = APis ? "LSPC.ALIQPIS" : "LSPC.ALIQCOFINS";
  const std::string tributo = APis ? "LSPC.VALORPIS" : "LSPC.VALORCOFINS";
  std::string s = "SELECT LSPC.DATALCTOFIS, LS.CODIGOPESSOA, LS.NUMERONF, LS.ESPECIENF, " + Serie("LS") +
                  ", LS.SUBSERIENF, LS.CDSITUACAO, " + cst + ", LSP.VALORTOTAL, " + credito +
                  ", LSPC.BASECALCULOPISCOFINS, " + aliq + ", " + tributo +
                  ", LSPC.CONTACTBEFD CONTACTB "
                  "FROM LCTOFISENTPISCOFINS LSPC "
                  "JOIN LCTOFISENTPRODUTO LSP ON LSP.CODIGOEMPRESA = LSPC.CODIGOEMPRESA "
                  "AND LSP.CHAVELCTOFISENT = LSPC.CHAVELCTOFISENT AND LSP.SEQ = LSPC.SEQ "
                  "AND LSP.CODIGOPRODUTO = LSPC.CODIGOPRODUTO "
                  "JOIN LCTOFISENT LS ON LS.CODIGOEMPRESA = LSPC.CODIGOEMPRESA "
                  "AND LS.CHAVELCTOFISENT = LSPC.CHAVELCTOFISENT ";
  s += "WHERE LSPC.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab3(p, "LSPC");
  s += "AND LSPC.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += " AND LS.CDMODELO IN ('21', '22') ";
  s += "ORDER BY LSPC.DATALCTOFIS, LS.CODIGOPESSOA, LS.NUMERONF, LS.ESPECIENF, 5, LS.SUBSERIENF";
  return s;
}

}  // namespace

std::string TRepoD::GetSqlD501(const TnParansBlocoD& AParans) { return SqlD501D505(AParans, true); }
std::string TRepoD::GetSqlD505(const TnParansBlocoD& AParans) { return SqlD501D505(AParans, false); }

std::string TRepoD::GetSqlD509(const TnParansBlocoD& AParans) {
  std::string s = "SELECT LS.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, " + Serie("L") +
                  ", L.SUBSERIENF, LS.NUMPROC, P.INDPROCREF FROM LCTOFISENTSPEDC111 LS "
                  "JOIN LCTOFISENT L ON L.CODIGOEMPRESA = LS.CODIGOEMPRESA AND L.CHAVELCTOFISENT = LS.CHAVELCTOFISENT "
                  "JOIN PROCESREFERENC P ON P.CODIGOEMPRESA = LS.CODIGOEMPRESA AND P.NUMPROCREF = LS.NUMPROC ";
  s += "WHERE LS.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab3(AParans, "LS");
  s += "AND LS.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += "AND L.CDMODELO IN ('21', '22') ";
  s += GetFiltroIndProcRef("P.INDPROCREF");
  s += "ORDER BY LS.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, 5, L.SUBSERIENF";
  return s;
}

std::string TRepoD::GetSqlFromD600(const TnParansBlocoD& AParans) {
  std::string s = " FROM LCTOFISSAI L  JOIN PESSOA P ON P.CODIGOPESSOA = L.CODIGOPESSOA "
                  " LEFT JOIN MUNICIPIO M ON M.SIGLAESTADO = P.SIGLAESTADO AND M.CODIGOMUNIC = P.CODIGOMUNIC "
                  " JOIN LCTOFISSAIPRODUTOSPEDD510 SP ON SP.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND SP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI ";
  s += " WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab(AParans, "L");
  s += " AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND L.CDMODELO IN ('21', '22') ";
  return s;
}

namespace {

std::string SubSoma(const std::string& AColuna, const std::string& ATabela, const std::string& AAlias,
                    const std::string& AExtra) {
  const std::string a = AAlias + ".";
  return "cast((SELECT SUM(" + a + AColuna + ") FROM " + ATabela + " " + AAlias + " WHERE " + a +
         "CODIGOEMPRESA = L.CODIGOEMPRESA AND " + a + "CHAVELCTOFISSAI = L.CHAVELCTOFISSAI" + AExtra +
         ") as numeric(16,2)) " + AColuna;
}

}  // namespace

std::string TRepoD::GetSqlD600(const TnParansBlocoD& AParans) {
  std::string s = " SELECT DISTINCT L.CHAVELCTOFISSAI, L.CDMODELO, M.CODIGORAIS, L.NUMERONF, L.ESPECIENF, " +
                  Serie("L") + ", L.SUBSERIENF, SP.INDRECEITA, L.DATALCTOFIS, L.VALORCONTABIL, L.VLRDESC, ";
  s += SubSoma("BASECALCULOIMPOSTO", "LCTOFISSAICFOP", "LC", " AND LC.TIPOIMPOSTO = 1") + ", ";
  s += SubSoma("ISENTASIMPOSTO", "LCTOFISSAICFOP", "LC", " AND LC.TIPOIMPOSTO = 1") + ", ";
  s += SubSoma("VALORIMPOSTO", "LCTOFISSAICFOP", "LC", " AND LC.TIPOIMPOSTO = 1") + ", ";
  s += SubSoma("VALORTERCEIRO", "LCTOFISSAISPEDD500", "D500", "") + ", ";
  s += SubSoma("VALORPIS", "LCTOFISSAIPISCOFINS", "LPC", "") + ", ";
  s += SubSoma("VALORCOFINS", "LCTOFISSAIPISCOFINS", "LPC", "") + ", L.VLROUTRDESP ";
  s += GetSqlFromD600(AParans);
  s += "ORDER BY L.CDMODELO, M.CODIGORAIS, 6, L.SUBSERIENF, SP.INDRECEITA, L.DATALCTOFIS, L.NUMERONF";
  return s;
}

namespace {

std::string SqlD601D605(const TnParansBlocoD& p, bool APis) {
  const std::string cst = APis ? "CDSITUATRIBUTPIS" : "CDSITUATRIBUTCOFINS";
  const std::string aliq = APis ? "ALIQPIS" : "ALIQCOFINS";
  const std::string tributo = APis ? "VALORPIS" : "VALORCOFINS";
  std::string s = "SELECT L.CHAVELCTOFISSAI, L.CDMODELO, M.CODIGORAIS, " + Serie("L") +
                  ", L.SUBSERIENF, SP.INDRECEITA, L.DATALCTOFIS, SP.CODIGOCLASS, LPC." + cst + ", LPC." + aliq +
                  ", LPC.CONTACTBEFD CONTACTB, LP.VALORTOTAL, LP.VALORDESCONTO, LPC.BASECALCULOPISCOFINS, LPC." + tributo +
                  " FROM LCTOFISSAI L "
                  "JOIN LCTOFISSAIPRODUTOSPEDD510 SP ON SP.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND SP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
                  "JOIN (SELECT CODIGOEMPRESA, CHAVELCTOFISSAI, SEQ, VALORTOTAL, VALORDESCONTO FROM LCTOFISSAIPRODUTO "
                  "WHERE VALORTOTAL > 0) LP ON LP.CODIGOEMPRESA = SP.CODIGOEMPRESA "
                  "AND LP.CHAVELCTOFISSAI = SP.CHAVELCTOFISSAI AND LP.SEQ = SP.SEQ "
                  "JOIN (SELECT CODIGOEMPRESA, CHAVELCTOFISSAI, SEQ, " + cst + ", " + aliq +
                  ", CONTACTBEFD, BASECALCULOPISCOFINS, " + tributo +
                  " FROM LCTOFISSAIPISCOFINS) LPC ON LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
                  "AND LPC.CHAVELCTOFISSAI = LP.CHAVELCTOFISSAI AND LPC.SEQ = LP.SEQ "
                  "JOIN PESSOA PE ON PE.CODIGOPESSOA = L.CODIGOPESSOA "
                  "LEFT JOIN MUNICIPIO M ON M.SIGLAESTADO = PE.SIGLAESTADO AND M.CODIGOMUNIC = PE.CODIGOMUNIC ";
  s += "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab(p, "L");
  s += "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += "AND L.CDMODELO IN ('21', '22') ";
  s += APis ? " ORDER BY SP.CODIGOCLASS, CDSITUATRIBUTPIS, ALIQPIS, CONTACTB"
            : " ORDER BY CODIGOCLASS, CDSITUATRIBUTCOFINS, ALIQCOFINS, CONTACTB";
  return s;
}

}  // namespace

std::string TRepoD::GetSqlD601(const TnParansBlocoD& AParans) { return SqlD601D605(AParans, true); }
std::string TRepoD::GetSqlD605(const TnParansBlocoD& AParans) { return SqlD601D605(AParans, false); }

std::string TRepoD::GetSqlD609(const TnParansBlocoD& AParans) {
  std::string s = " SELECT DISTINCT L.CDMODELO, M.CODIGORAIS, " + Serie("L") +
                  ", L.SUBSERIENF, SP.INDRECEITA, L.DATALCTOFIS, LS.NUMPROC, PR.INDPROCREF FROM LCTOFISSAI L "
                  "JOIN LCTOFISSAISPEDC111 LS ON LS.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND LS.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
                  "JOIN PESSOA P ON P.CODIGOPESSOA = L.CODIGOPESSOA "
                  "JOIN MUNICIPIO M ON M.SIGLAESTADO = P.SIGLAESTADO AND M.CODIGOMUNIC = P.CODIGOMUNIC "
                  "JOIN LCTOFISSAIPRODUTOSPEDD510 SP ON SP.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND SP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
                  "JOIN PROCESREFERENC PR ON PR.CODIGOEMPRESA = LS.CODIGOEMPRESA AND PR.NUMPROCREF = LS.NUMPROC ";
  s += "WHERE L.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab(AParans, "L");
  s += "AND L.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += "AND L.CDMODELO IN ('21', '22') ";
  s += GetFiltroIndProcRef("PR.INDPROCREF");
  s += "ORDER BY L.CDMODELO, M.CODIGORAIS, 3, L.SUBSERIENF, SP.INDRECEITA, L.DATALCTOFIS";
  return s;
}

#define CARREGAR(REG, TIPO, VALORES)                                                          \
  void TRepoD::CarregarDados##REG(TIPO*& ADataSet, const TnParansBlocoD& AParans) {           \
    CarregarDados(ADataSet, AParans, GetSql##REG(AParans), VALORES(AParans));                 \
  }

CARREGAR(D100, TDataSet, GetParamsEstabData)
CARREGAR(D101, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D105, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D111, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D200, TDataSet, GetParamsEstabData)
CARREGAR(D201, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D205, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D209, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D300, TDataSet, GetParamsEstabData)
CARREGAR(D309, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D350, TnClientDataSet, GetParamsEstabData)
CARREGAR(D500, TDataSet, GetParamsEstabData)
CARREGAR(D501, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D505, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D509, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D600, TDataSet, GetParamsEstabData)
CARREGAR(D601, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D605, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(D609, TnClientDataSet, GetParamsEstabDataNull)
#undef CARREGAR

std::unique_ptr<TnClientDataSet> TRepoD::GetCdsPessoasD600SemMunic(const TnParansBlocoD& AParans) {
  const std::string sql = "select P.CODIGOPESSOA , P.NOMEPESSOA " + GetSqlFromD600(AParans) + " AND P.CODIGOMUNIC IS NULL ";
  auto ds = Nutildb::ExecutarSQL(sql, GetParamsEstabData(AParans), true, false, -1, "", nullptr, true);
  TnClientDataSet* cliente = ComoCliente(ds.get());
  ds.release();
  return std::unique_ptr<TnClientDataSet>(cliente);
}
