#include "blocks/nArqRepositorioSPEDPisCofinsBlocoA_U.h"

#include "host/ClientDataSet.h"
#include "host/FiltroEstab.h"
#include "base/Format.h"
#include "host/Nutildb.h"
#include "host/FisFuncoes.h"
#include "host/Host.h"

namespace {

using TRepoA = TnArqRepositorioSPEDPisCofinsBlocoA;

bool EhEntrada(const TnParansBlocoA& p) { return p.TipoMovimento == 0; }

// Último passo de todo texto com a família de tabelas: "%0:s" vira ENT ou SAI.
std::string FormatarSufixo(const std::string& ASQL, const TnParansBlocoA& p) {
  return Format(ASQL, {TVariant{std::string(TRepoA::Sufixo(p.TipoMovimento))}});
}

std::string FiltroEstab(const TnParansBlocoA& p) {
  return TnArqRepositorioSPEDPisCofinsFiltroEstab::GetFiltroEstab(std::to_string(p.CodigoEmpresa), "L",
                                                                  p.CodigoEstab, p.TipoMovimento, false,
                                                                  p.EstabSCP);
}

const std::string kBrancos18(18, ' ');

}  // namespace

std::string TRepoA::GetIndexKorvelCDModelo(const TnParansBlocoA&) {
  return EhKorvel() ? " /*+ INDEX(LC PKLCTOFIS%0:SCFOP) */ " : "";
}

std::string TRepoA::GetFiltroCDModelo(const TnParansBlocoA& AParans) {
  std::string s =
      " and (L.CDMODELO in ('99')     or (L.CDMODELO in ('3', '3A', '3B', '55', '65')       and exists (SELECT ";
  s += GetIndexKorvelCDModelo(AParans);
  s += " 1 from LCTOFIS%0:SCFOP LC ";
  s += kBrancos18 + "where L.CODIGOEMPRESA = LC.CODIGOEMPRESA ";
  s += kBrancos18 + "and L.CHAVELCTOFIS%0:S = LC.CHAVELCTOFIS%0:S ";
  s += kBrancos18 + "and SUBSTR(cast(LC.CODIGOCFOP as varchar(10)), 1, 1) = '9' ";
  s += "and LC.TIPOIMPOSTO = 2)) ";
  // Nas entradas o modelo 55 também conta com a linha de CFOP 1933999 (serviço tomado).
  if (EhEntrada(AParans))
    s += "    or (L.CDMODELO = '55'             and exists              (SELECT 1               from "
         "LCTOFISENTCFOP LC               where L.CODIGOEMPRESA = LC.CODIGOEMPRESA                 and "
         "L.CHAVELCTOFISENT = LC.CHAVELCTOFISENT                 and LC.CODIGOCFOP = 1933999                 "
         "and LC.TIPOIMPOSTO in (2, 3)))";
  s += "  ) ";
  return s;
}

std::string TRepoA::GetFiltroTipoImpostoISS(const TnParansBlocoA&) {
  return " and exists (SELECT 1 from LCTOFIS%0:SCFOP LC  where L.CODIGOEMPRESA = LC.CODIGOEMPRESA  and "
         "L.CHAVELCTOFIS%0:S = LC.CHAVELCTOFIS%0:S  and ((LC.TIPOIMPOSTO = 2) or (LC.TIPOIMPOSTO = 3 and "
         "LC.CODIGOCFOP = 1933999))) ";
}

std::string TRepoA::GetFiltroIgnorarConjugadas(const TnParansBlocoA&) {
  // Notas conjugadas (mercadoria e serviço) ficam de fora.
  return " and not exists (SELECT 1"
         "          from LCTOFIS%0:SCFOP LC"
         "          where L.CODIGOEMPRESA = LC.CODIGOEMPRESA"
         "          and L.CHAVELCTOFIS%0:S = LC.CHAVELCTOFIS%0:S"
         "          and ((LC.TIPOIMPOSTO = 1) or (LC.TIPOIMPOSTO = 3 and LC.CODIGOCFOP <> 1933999))) ";
}

std::string TRepoA::GetFiltroSqlA100(const TnParansBlocoA& AParans) {
  std::string s = " where L.CODIGOEMPRESA = :pCODIGOEMPRESA ";
  s += FiltroEstab(AParans);
  s += " and L.DATALCTOFIS between :pDATAINICIAL and :pDATAFINAL ";
  s += GetFiltroCDModelo(AParans);
  s += " and L.CDSITUACAO in (0, 2, 99) ";
  s += " and ((LPC.CODIGOPRODUTO is not null) or (L.CDSITUACAO in (2, 3, 99))) ";
  s += GetFiltroTipoImpostoISS(AParans);
  s += GetFiltroIgnorarConjugadas(AParans);
  return s;
}

std::string TRepoA::GetSqlA100(const TnParansBlocoA& AParans) {
  std::string s =
      "SELECT L.CHAVELCTOFIS%0:s CHAVE, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, "
      "L.DATALCTOFIS, %4:s %2:s DATAEMISSAO, L.VALORCONTABIL, L.VLRDESC, L.VLRABATNTRIB, L.VLRFRETE, "
      "L.VLRSEGURO, L.VLROUTRDESP, L.EMITENTENF, L.CDMODELO, L.CHAVENFE%0:s CHAVENFE, L.MODALIDADEFRETE, "
      "L.INDPAGTO, L.CDSITUACAO, L.CANCELADA, P.INSCRFEDERAL, "
      "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
      "cast(SUM(LP.BASECALCULOICMS) as numeric(14,2)) BASECALCULOICMS, "
      "cast(SUM(LP.VALORICMS) as numeric(14,2)) VALORICMS, "
      "cast(SUM(LP.VALORIPI) as numeric(14,2)) VALORIPI, "
      "cast(SUM(LP.BASECALCULOSUBTRIBUT) as numeric(14,2)) BASECALCULOSUBTRIBUT, "
      "cast(SUM(LP.VALORSUBTRIBUT) as numeric(14,2)) VALORSUBTRIBUT, "
      "cast(SUM(LP.VALORISS) as numeric(14,2)) VALORISS, "
      "cast(SUM(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
      "cast(SUM(LPC.VALORPIS) as numeric(14,2)) VALORPIS, "
      "cast(SUM(LPC.VALORCOFINS) as numeric(14,2)) VALORCOFINS, "
      "cast(SUM(LR.VALORPIS) as numeric(14,2)) VALORPISRET, "
      "cast(SUM(LR.VALORCOFINS) as numeric(14,2)) VALORCOFINSRET "
      " from LCTOFIS%0:s L "
      " left join LCTOFIS%0:sPRODUTO LP on LP.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "and LP.CHAVELCTOFIS%0:s = L.CHAVELCTOFIS%0:s "
      " left join LCTOFIS%0:sPISCOFINS LPC on LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
      "and LPC.CHAVELCTOFIS%0:s = LP.CHAVELCTOFIS%0:s and LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO "
      "and LPC.SEQ = LP.SEQ "
      " left join LCTOFIS%0:sRETIDO LR on LR.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "and LR.CHAVELCTOFIS%1:s = L.CHAVELCTOFIS%0:s "
      " join PESSOA P on P.CODIGOPESSOA = L.CODIGOPESSOA ";
  s += GetFiltroSqlA100(AParans);
  s += " group by L.CHAVELCTOFIS%0:s, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, "
       "L.DATALCTOFIS, %4:s %2:s, L.VALORCONTABIL, L.VLRDESC, L.VLRABATNTRIB, L.VLRFRETE, L.VLRSEGURO, "
       "L.VLROUTRDESP, L.EMITENTENF, L.CDMODELO, L.CHAVENFE%0:s, L.MODALIDADEFRETE, L.INDPAGTO, "
       "L.CDSITUACAO, L.CANCELADA, P.INSCRFEDERAL ";
  s += " order by L.DATALCTOFIS, %3:s L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF ";
  // Cinco argumentos: sufixo, chave da tabela de retidos, data de emissão, ordem, data extra.
  if (EhEntrada(AParans))
    return Format(s, {TVariant{std::string("ENT")}, TVariant{std::string("ENTRETIDO")},
                      TVariant{std::string("L.DATAEMISSAO")}, TVariant{std::string("L.CODIGOPESSOA,")},
                      TVariant{std::string()}});
  return Format(s, {TVariant{std::string("SAI")}, TVariant{std::string("SAI")},
                    TVariant{std::string("L.DATALCTOFIS")}, TVariant{std::string()},
                    TVariant{std::string("L.DATAPRESTACAOSERVICO, ")}});
}

std::string TRepoA::GetSqlA100Aux(const TnParansBlocoA& AParans) {
  const std::string pessoa = EhEntrada(AParans) ? " ,L.CODIGOPESSOA " : "";
  std::string s = "SELECT L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, L.DATALCTOFIS" + pessoa;
  s += " from LCTOFIS%0:s L "
       " join LCTOFIS%0:sPISCOFINS LPC on LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
       "and LPC.CHAVELCTOFIS%0:s = L.CHAVELCTOFIS%0:s ";
  s += GetFiltroSqlA100(AParans);
  s += " GROUP BY L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, L.DATALCTOFIS" + pessoa;
  s += " HAVING  cast(SUM(LPC.VALORPIS) as numeric(14,2)) + cast(SUM(LPC.VALORCOFINS) as numeric(14,2)) > 0 ";
  s += " ORDER BY L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, L.DATALCTOFIS" + pessoa;
  return FormatarSufixo(s, AParans);
}

std::string TRepoA::GetSqlA110(const TnParansBlocoA& AParans) {
  std::string s =
      "SELECT LC.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, "
      "LC.CODOBS0450, LC.COMPLOBS0450 "
      " from LCTOFIS%0:s L "
      " join LCTOFIS%0:sCOMPL LC on LC.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "and LC.CHAVELCTOFIS%0:s = L.CHAVELCTOFIS%0:s ";
  s += " where L.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += FiltroEstab(AParans);
  s += " and L.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += GetFiltroCDModelo(AParans);
  s += " and L.CDSITUACAO in (0, 2, 99) ";
  s += " and LC.CODOBS0450 is not null ";
  s += " order by LC.DATALCTOFIS, ";
  if (EhEntrada(AParans)) s += " L.CODIGOPESSOA, ";
  s += "L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF ";
  return FormatarSufixo(s, AParans);
}

std::string TRepoA::GetSqlA111(const TnParansBlocoA& AParans) {
  std::string s =
      "SELECT LS.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, "
      "LS.NUMPROC, P.INDPROCREF "
      " FROM LCTOFIS%0:s L "
      " JOIN LCTOFIS%0:sSPEDC111 LS ON LS.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "AND LS.CHAVELCTOFIS%0:s = L.CHAVELCTOFIS%0:s "
      " JOIN PROCESREFERENC P ON P.CODIGOEMPRESA = LS.CODIGOEMPRESA AND P.NUMPROCREF = LS.NUMPROC ";
  s += " WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += FiltroEstab(AParans);
  s += " AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += GetFiltroCDModelo(AParans);
  s += " AND L.CDSITUACAO IN (0, 2, 99) ";
  s += GetFiltroTipoImpostoISS(AParans);
  s += GetFiltroIgnorarConjugadas(AParans);
  s += GetFiltroIndProcRef("P.INDPROCREF");
  s += " ORDER BY LS.DATALCTOFIS, ";
  if (EhEntrada(AParans)) s += "L.CODIGOPESSOA, ";
  s += "L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF ";
  return FormatarSufixo(s, AParans);
}

std::string TRepoA::GetSqlA120(const TnParansBlocoA& AParans) {
  // Só existe do lado das entradas: sem marcador e sem formatação.
  std::string s =
      "SELECT LE.DATALCTOFIS, LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF, "
      "LES.VLTOTSER, LES.VLBCPIS, LES.VLPISIMP, LES.DTPAGPIS, LES.VLBCCOFINS, LES.VLCOFINSIMP, "
      "LES.DTPAGCOFINS, LES.LOCEXESERV "
      " FROM LCTOFISENTSPEDA120 LES "
      " JOIN LCTOFISENT LE ON LE.CODIGOEMPRESA = LES.CODIGOEMPRESA "
      "AND LE.CHAVELCTOFISENT = LES.CHAVELCTOFISENT ";
  s += " WHERE LES.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += TnArqRepositorioSPEDPisCofinsFiltroEstab::GetFiltroEstab("LES", AParans.CodigoEstab, false);
  s += " AND LES.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " ORDER BY LE.DATALCTOFIS, ";
  if (EhEntrada(AParans)) s += "LE.CODIGOPESSOA, ";
  s += "LE.NUMERONF, LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF ";
  return s;
}

std::string TRepoA::GetIndexKorvelA170(const TnParansBlocoA& AParans) {
  if (!EhKorvel()) return "";
  // Aqui a saída é testada por TipoMovimento = 1 (o 2 fica com a dica das entradas).
  if (AParans.TipoMovimento == 1)
    return "  /*+  INDEX(L IXLCTOFISSAI) INDEX(FKLCTOFISSAIPRODUTOLCTOFISSAI) INDEX(PR PKPRODUTO) INDEX(LPC "
           "PKLCTOFISSAIPISCOFINS) */ ";
  return " /*+ INDEX(LP FKLCTOFISENTPRODUTOLCTOFISENT) INDEX(PE PKPESSOA) INDEX(L IXLCTOFISENT) INDEX(LPC "
         "PKLCTOFISENTPISCOFINS) */ ";
}

std::string TRepoA::GetSQLA170(const TnParansBlocoA& AParans) {
  std::string s = "SELECT " + GetIndexKorvelA170(AParans);
  s += " LP.CODIGOEMPRESA, LP.CHAVELCTOFIS%0:s CHAVELCTOFIS, LP.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, "
       "L.ESPECIENF, L.SERIENF, L.SUBSERIENF, PR.REFERENPRODUTO, PR.CODIGOCENTROCUSTO, PE.TIPOINSCR, "
       "LP.VALORTOTAL, LP.VALORDESCONTO, ";
  s += EhEntrada(AParans) ? "LPC.TIPOCREDITO TIPODEBCRED, " : "LPC.TIPODEBITO TIPODEBCRED, ";
  s += "LPC.CDSITUATRIBUTPIS, LPC.BASECALCULOPISCOFINS, LPC.ALIQPIS, LPC.VALORPIS, LPC.CDSITUATRIBUTCOFINS, "
       "LPC.ALIQCOFINS, LPC.VALORCOFINS, LPC.CONTACTBEFD CONTACTB "
       " FROM LCTOFIS%0:s L "
       " JOIN LCTOFIS%0:sPRODUTO LP ON LP.CODIGOEMPRESA = L.CODIGOEMPRESA "
       "AND LP.CHAVELCTOFIS%0:s = L.CHAVELCTOFIS%0:s "
       " JOIN PRODUTO PR ON PR.CODIGOEMPRESA = LP.CODIGOEMPRESA AND PR.CODIGOPRODUTO = LP.CODIGOPRODUTO "
       " JOIN PESSOA PE ON PE.CODIGOPESSOA = L.CODIGOPESSOA "
       " JOIN LCTOFIS%0:sPISCOFINS LPC ON LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
       "AND LPC.CHAVELCTOFIS%0:s = LP.CHAVELCTOFIS%0:s AND LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO "
       "AND LPC.SEQ = LP.SEQ ";
  s += "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += FiltroEstab(AParans);
  s += " AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += GetFiltroCDModelo(AParans);
  s += " AND L.CDSITUACAO IN (0, 2, 99) ";
  s += " ORDER BY LP.DATALCTOFIS, ";
  if (EhEntrada(AParans)) s += "L.CODIGOPESSOA, ";
  s += "L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF ";
  return FormatarSufixo(s, AParans);
}

void TRepoA::CarregarDadosA100(TDataSet*& ADataSet, const TnParansBlocoA& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlA100(AParans), GetParamsEstabData(AParans));
}

void TRepoA::CarregarDadosA100Aux(TnClientDataSet*& ADataSet, const TnParansBlocoA& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlA100Aux(AParans), GetParamsEstabData(AParans));
}

void TRepoA::CarregarDadosA110(TnClientDataSet*& ADataSet, const TnParansBlocoA& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlA110(AParans), GetParamsEstabData(AParans));
}

void TRepoA::CarregarDadosA111(TnClientDataSet*& ADataSet, const TnParansBlocoA& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlA111(AParans), GetParamsEstabData(AParans));
}

void TRepoA::CarregarDadosA120(TnClientDataSet*& ADataSet, const TnParansBlocoA& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlA120(AParans), GetParamsEstabData(AParans));
}

void TRepoA::CarregarDadosA170(TnClientDataSet*& ADataSet, const TnParansBlocoA& AParans) {
  CarregarDados(ADataSet, AParans, GetSQLA170(AParans), GetParamsEstabDataNull(AParans));
}
