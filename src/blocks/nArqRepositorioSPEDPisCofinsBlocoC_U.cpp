#include "blocks/nArqRepositorioSPEDPisCofinsBlocoC_U.h"

#include <algorithm>
#include <type_traits>

#include "base/Format.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoCMemoria_U.h"
#include "host/CFOP.h"
#include "host/ClientDataSet.h"
#include "host/ControlesFiscais.h"
#include "host/FiltroEstab.h"
#include "host/FisFuncoes.h"
#include "host/Host.h"
#include "host/Nutildb.h"
#include "base/Nutil.h"

namespace {

using TFiltro = TnArqRepositorioSPEDPisCofinsFiltroEstab;
using TParansMem = nArqRepositorioSPEDPisCofinsBlocoCMemoria_U::TnParansBlocoC;

template <class P>
bool EhEntrada(const P& p) {
  return p.TipoMovimento == 0;
}

// A gêmea não tem EstabSCP: a forma longa recebe falso no lugar.
template <class P>
bool Scp(const P& p) {
  if constexpr (std::is_same_v<P, TnParansBlocoC>)
    return p.EstabSCP;
  else
    return false;
}

template <class P>
std::string Estab(const P& p, const std::string& AAlias) {
  return TFiltro::GetFiltroEstab(std::to_string(p.CodigoEmpresa), AAlias, p.CodigoEstab, p.TipoMovimento, false,
                                 Scp(p));
}

template <class P>
std::string Estab3(const P& p, const std::string& AAlias) {
  return TFiltro::GetFiltroEstab(AAlias, p.CodigoEstab, false);
}

template <class P>
std::string FormatarSufixo(const std::string& ASQL, const P& p) {
  return Format(ASQL, {TVariant{std::string(TnArqRepositorioSPEDPisCofinsBase::Sufixo(p.TipoMovimento))}});
}

std::string Transferencias(const std::string& AColuna) {
  return MontarFiltroCFOP(LstCFOPTransferencia(), 72, AColuna);
}
std::string Devolucoes(const std::string& AColuna) { return MontarFiltroCFOP(LstCFOPDevolucao(), 87, AColuna); }
std::string EnergiaEletrica(const std::string& AColuna) {
  return MontarFiltroCFOP(LstCFOPEntEnergiaEletrica(), 13, AColuna);
}
std::string EnergiaNoEstado(const std::string& AColuna) {
  return MontarFiltroCFOP(LstMGCfopEntNoEstEnergia(), 6, AColuna);
}
std::string EnergiaForaEstado(const std::string& AColuna) {
  return MontarFiltroCFOP(LstMGCfopEntForaEstEnergia(), 6, AColuna);
}

// Literal do tipo de débito das devoluções, como o host o escreve.
std::string Debito43050() { return Nutil::ValorParaSQL(TVariant{std::string("4.3.05.00")}); }

// Modelos do C100/C170: o IndApuracao 2 soma os modelos eletrônicos.
std::string ModelosC100(const std::string& AAlias, bool AEntrada, int16_t AIndApuracao) {
  std::string s = "and " + AAlias + ".CDMODELO in ('1', '1B', '4' ";
  if (AIndApuracao == 2) s += AEntrada ? ",'55'" : ", '55', '65'";
  return s + " ) ";
}

}  // namespace

#define TEMPLATE template <class TParansC, bool AMemoria>
#define TRepoC TnArqRepositorioSPEDPisCofinsBlocoCTextos<TParansC, AMemoria>

TEMPLATE std::string TRepoC::GetFiltroCFOP(const std::string& AColuna, bool ATruncar) {
  // No DF o CFOP de serviço (9xxx) vira 5933 dentro do estado e 6933 fora dele.
  std::string s = " CASE  WHEN F.SIGLAESTADO = 'DF'   AND CAST(SUBSTR(cast(" + AColuna +
                  " as varchar(10)), 1, 1) AS INTEGER) = 9 ";
  s += "  AND PS.SIGLAESTADO = F.SIGLAESTADO ";
  s += " THEN 5933 ";
  s += " WHEN F.SIGLAESTADO = 'DF' ";
  s += "  AND CAST(SUBSTR(cast(" + AColuna + " as varchar(10)), 1, 1) AS INTEGER) = 9 ";
  s += "  AND PS.SIGLAESTADO <> F.SIGLAESTADO ";
  s += " THEN 6933 ";
  s += " ELSE ";
  s += ATruncar ? "CAST(SUBSTR(cast(" + AColuna + " as varchar(10)), 1, 4) AS INTEGER)" : AColuna;
  s += " END ";
  return s;
}

TEMPLATE std::string TRepoC::GetIndexKorvelC170(const TParans& AParans) {
  if (!EhKorvel() || AParans.TipoMovimento != 0) return "";
  if constexpr (AMemoria)
    return " /*+ INDEX(LP LCTOFISENTPRODUTO_01_UC) INDEX(F FKESTABEMPRESA) INDEX(L PKLCTOFISENT) INDEX(LPC "
           "PKLCTOFISENTPISCOFINS) INDEX(P PKPRODUTO) INDEX(PS PKPESSOA) INDEX(C PKCFOP) USE_HASH(LCO LP) */ ";
  else
    return " /*+ INDEX(L PKLCTOFISENT)  INDEX(F FKESTABEMPRESA) INDEX(LP FKLCTOFISENTPRODUTOLCTOFISENT) INDEX(LPC "
           "PKLCTOFISENTPISCOFINS) INDEX(P PKPRODUTO) INDEX(PS PKPESSOA) INDEX(C PKCFOP) USE_HASH(LCO LP) */ ";
}

TEMPLATE std::string TRepoC::GetIndexKorvelC170CFOP(const TParans& AParans) {
  return EhKorvel() && AParans.TipoMovimento == 0 ? " /*+ INDEX(LCO IXLCTOFISENTCFOP) */ " : "";
}

TEMPLATE std::string TRepoC::GetIndexKorvelC505_501(const TParans&) {
  return EhKorvel() ? " /*+ INDEX(LP LCTOFISENTPRODUTO_01_UC) */ " : "";
}

// ------------------------------------------------------------------ C100

TEMPLATE std::string TRepoC::GetSqlC100(const TParans& AParans) {
  if (EhEntrada(AParans)) {
    std::string s =
        "select LE.CHAVELCTOFISENT CHAVE, LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF, "
        "LE.DATALCTOFIS, LE.DATAEMISSAO DATAEMISSAO, LE.VALORCONTABIL, LE.VLRDESC, LE.VLRABATNTRIB, LE.VLRFRETE, "
        "LE.VLRSEGURO, LE.VLROUTRDESP, LE.EMITENTENF, LE.CDMODELO, LE.CHAVENFEENT CHAVENFE, LE.MODALIDADEFRETE, "
        "LE.INDPAGTO, LE.CDSITUACAO, LE.CANCELADA, LE.VALORFUNRURAL, "
        "cast(sum(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
        "cast(sum(LP.BASECALCULOICMS) as numeric(14,2)) BASECALCULOICMS, "
        "cast(sum(LP.VALORICMS) as numeric(14,2)) VALORICMS, "
        "cast(sum(LP.VALORIPI) as numeric(14,2)) VALORIPI, "
        "cast(sum(LP.BASECALCULOSUBTRIBUT) as numeric(14,2)) BASECALCULOSUBTRIBUT, "
        "cast(sum(LP.VALORSUBTRIBUT) as numeric(14,2)) VALORSUBTRIBUT, "
        "cast(sum(CASE WHEN LPC.CDSITUATRIBUTPIS <> 05 THEN LPC.VALORPIS END) as numeric(14,2)) VALORPIS, "
        "cast(sum(CASE WHEN LPC.CDSITUATRIBUTPIS <> 05 THEN LPC.VALORCOFINS END) as numeric(14,2)) VALORCOFINS, "
        "cast(sum(CASE LPC.CDSITUATRIBUTPIS WHEN 05 THEN LPC.VALORPIS END) as numeric(14,2)) VALORPISST, "
        "cast(sum(CASE LPC.CDSITUATRIBUTPIS WHEN 05 THEN LPC.VALORCOFINS END) as numeric(14,2)) VALORCOFINSST "
        "from LCTOFISENT LE "
        "left join LCTOFISENTPRODUTO LP on LP.CODIGOEMPRESA = LE.CODIGOEMPRESA "
        "and LP.CHAVELCTOFISENT = LE.CHAVELCTOFISENT "
        "left join LCTOFISENTPISCOFINS LPC on LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
        "and LPC.CHAVELCTOFISENT = LP.CHAVELCTOFISENT and LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO "
        "and LPC.SEQ = LP.SEQ ";
    s += "where LE.CODIGOEMPRESA = :pCodigoEmpresa ";
    s += Estab3(AParans, "LE");
    s += "and LE.DATALCTOFIS between :pDataInicial and :pDataFinal ";
    s += ModelosC100("LE", true, AParans.IndApuracao);
    s += "and ((LPC.CODIGOPRODUTO is not null) or (LE.CDSITUACAO IN (2, 3, 99))) ";
    s += "and exists (select 1 from LCTOFISENTCFOP LEC where LEC.CODIGOEMPRESA = LE.CODIGOEMPRESA "
         "and LEC.CHAVELCTOFISENT = LE.CHAVELCTOFISENT ";
    s += "and LEC.TIPOIMPOSTO in (1, 3) ";
    s += "AND NOT " + Transferencias("LEC.CODIGOCFOP") + " ";
    s += "AND NOT((LE.CDMODELO = '55') and (" + EnergiaNoEstado("LEC.CODIGOCFOP") + " or " +
         EnergiaForaEstado("LEC.CODIGOCFOP") + " or (LEC.CODIGOCFOP = 1933999) )) ";
    s += ") ";
    s += "group by LE.CODIGOEMPRESA, LE.CODIGOESTAB, LE.CHAVELCTOFISENT, LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, "
         "LE.SERIENF, LE.SUBSERIENF, LE.DATALCTOFIS, LE.DATAEMISSAO, LE.VALORCONTABIL, LE.VLRDESC, LE.VLRABATNTRIB, "
         "LE.VLRFRETE, LE.VLRSEGURO, LE.VLROUTRDESP, LE.EMITENTENF, LE.CDMODELO, LE.CHAVENFEENT, "
         "LE.MODALIDADEFRETE, LE.INDPAGTO, LE.CDSITUACAO, LE.CANCELADA, LE.VALORFUNRURAL ";
    // Com o IPI apurado a nota conta pelo documento inteiro (todos os lançamentos dele).
    std::string x;
    if (ControleIPI().GetApuraIPI())
      x = "(SELECT cast(SUM(LPC2.VALORPIS + LPC2.VALORCOFINS) as numeric(14,2)) "
          "FROM LCTOFISENTPISCOFINS LPC2 JOIN LCTOFISENT L2 ON L2.CODIGOEMPRESA = LPC2.CODIGOEMPRESA "
          "AND L2.CHAVELCTOFISENT = LPC2.CHAVELCTOFISENT "
          "WHERE L2.CODIGOEMPRESA = LE.CODIGOEMPRESA AND L2.CODIGOESTAB = LE.CODIGOESTAB "
          "AND L2.DATALCTOFIS = LE.DATALCTOFIS AND L2.CODIGOPESSOA = LE.CODIGOPESSOA "
          "AND L2.NUMERONF = LE.NUMERONF AND L2.ESPECIENF = LE.ESPECIENF "
          " AND COALESCE(L2.SERIENF, 'NULLA') = COALESCE(LE.SERIENF, 'NULLA') "
          " AND COALESCE(L2.SUBSERIENF, 'NULLA') = COALESCE(LE.SUBSERIENF, 'NULLA') )";
    else
      x = " (cast(SUM(LPC.VALORPIS) as numeric(14,2)) + cast(SUM(LPC.VALORCOFINS) as numeric(14,2))) ";
    s += " HAVING (" + x + " > 0) " + " or (LE.CANCELADA = '1') ";
    s += "order by LE.DATALCTOFIS, LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF ";
    return s;
  }
  std::string s =
      "select LS.CHAVELCTOFISSAI CHAVE, LS.CODIGOPESSOA, LS.NUMERONF, LS.ESPECIENF, LS.SERIENF, LS.SUBSERIENF, "
      "LS.DATALCTOFIS, LS.DATAPRESTACAOSERVICO DATAEMISSAO, LS.VALORCONTABIL, LS.VLRDESC, LS.VLRABATNTRIB, "
      "LS.VLRFRETE, LS.VLRSEGURO, LS.VLROUTRDESP, LS.EMITENTENF, LS.CDMODELO, LS.CHAVENFESAI CHAVENFE, "
      "LS.MODALIDADEFRETE, LS.INDPAGTO, LS.CDSITUACAO, LS.CANCELADA, cast(0 as NUMERIC(14,2)) VALORFUNRURAL, "
      "cast(sum(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
      "cast(sum(LP.BASECALCULOICMS) as numeric(14,2)) BASECALCULOICMS, "
      "cast(sum(LP.VALORICMS) as numeric(14,2)) VALORICMS, "
      "cast(sum(LP.VALORIPI) as numeric(14,2)) VALORIPI, "
      "cast(sum(LP.BASECALCULOSUBTRIBUT) as numeric(14,2)) BASECALCULOSUBTRIBUT, "
      "cast(sum(LP.VALORSUBTRIBUT) as numeric(14,2)) VALORSUBTRIBUT, "
      "cast(sum(CASE WHEN LPC.CDSITUATRIBUTPIS <> 05 THEN LPC.VALORPIS END) as numeric(14,2)) VALORPIS, "
      "cast(sum(CASE WHEN LPC.CDSITUATRIBUTPIS <> 05 THEN LPC.VALORCOFINS END) as numeric(14,2)) VALORCOFINS, "
      "cast(sum(CASE LPC.CDSITUATRIBUTPIS WHEN 05 THEN LPC.VALORPIS END) as numeric(14,2)) VALORPISST, "
      "cast(sum(CASE LPC.CDSITUATRIBUTPIS WHEN 05 THEN LPC.VALORCOFINS END) as numeric(14,2)) VALORCOFINSST "
      "from LCTOFISSAI LS "
      "left join LCTOFISSAIPRODUTO LP on LP.CODIGOEMPRESA = LS.CODIGOEMPRESA "
      "and LP.CHAVELCTOFISSAI = LS.CHAVELCTOFISSAI "
      "left join LCTOFISSAIPISCOFINS LPC on LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
      "and LPC.CHAVELCTOFISSAI = LP.CHAVELCTOFISSAI and LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO "
      "and LPC.SEQ = LP.SEQ ";
  s += "where LS.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "LS");
  s += "and LS.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += ModelosC100("LS", false, AParans.IndApuracao);
  s += "and ((LPC.CODIGOPRODUTO is not null) or (LS.CDSITUACAO IN (2, 3, 99))) ";
  s += "and exists (select 1 from LCTOFISSAICFOP LSC where LSC.CODIGOEMPRESA = LS.CODIGOEMPRESA "
       "and LSC.CHAVELCTOFISSAI = LS.CHAVELCTOFISSAI ";
  s += "and LSC.TIPOIMPOSTO in (1, 3) ";
  s += "AND NOT " + Transferencias("LSC.CODIGOCFOP") + " ";
  s += "AND NOT((LS.CDMODELO = '55') and (" + EnergiaNoEstado("LSC.CODIGOCFOP") + " or " +
       EnergiaForaEstado("LSC.CODIGOCFOP") + "))) ";
  s += "group by LS.CODIGOEMPRESA, LS.CHAVELCTOFISSAI, LS.CODIGOPESSOA, LS.NUMERONF, LS.ESPECIENF, LS.SERIENF, "
       "LS.SUBSERIENF, LS.DATALCTOFIS, LS.DATAPRESTACAOSERVICO, LS.VALORCONTABIL, LS.VLRDESC, LS.VLRABATNTRIB, "
       "LS.VLRFRETE, LS.VLRSEGURO, LS.VLROUTRDESP, LS.EMITENTENF, LS.CDMODELO, LS.CHAVENFESAI, "
       "LS.MODALIDADEFRETE, LS.INDPAGTO, LS.CDSITUACAO, LS.CANCELADA ";
  s += "order by LS.DATALCTOFIS, LS.NUMERONF, LS.ESPECIENF, LS.SERIENF, LS.SUBSERIENF ";
  return s;
}

// ------------------------------------------------------------------ C110 a C120

namespace {

std::string OrdemDocumento(const std::string& AData, bool AEntrada) {
  return " order by " + AData + ", " + (AEntrada ? "L.CODIGOPESSOA, " : "") +
         "L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF ";
}

// Lançamento com linha de ICMS/IPI (tipo 1 ou 3) ligado ao apelido dado.
std::string ExisteCfopMercadoria(const std::string& AAlias) {
  return "and exists (select 1 from LCTOFIS%0:sCFOP LCO where LCO.CODIGOEMPRESA = " + AAlias +
         ".CODIGOEMPRESA and LCO.CHAVELCTOFIS%0:s = " + AAlias +
         ".CHAVELCTOFIS%0:s and LCO.TIPOIMPOSTO in (1, 3)) ";
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC110(const TParans& AParans) {
  std::string s =
      "select LC.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, LC.CODOBS0450, "
      "LC.COMPLOBS0450 from LCTOFIS%0:s L join LCTOFIS%0:sCOMPL LC on LC.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "and LC.CHAVELCTOFIS%0:s = L.CHAVELCTOFIS%0:s ";
  s += "where L.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "L");
  s += "and L.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and L.CDMODELO in ('1', '1B', '4', '55') ";
  s += "and L.CDSITUACAO in (0, 1, 6, 7, 8, 99) ";
  s += "and LC.CODOBS0450 is not null ";
  s += ExisteCfopMercadoria("L");
  s += OrdemDocumento("LC.DATALCTOFIS", EhEntrada(AParans));
  return FormatarSufixo(s, AParans);
}

TEMPLATE std::string TRepoC::GetSqlC111(const TParans& AParans) {
  // A gêmea não tira as repetições.
  std::string s = AMemoria ? "select " : "select distinct ";
  s += "LS.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, LS.NUMPROC, "
       "P.INDPROCREF from LCTOFIS%0:s L join LCTOFIS%0:sSPEDC111 LS on LS.CODIGOEMPRESA = L.CODIGOEMPRESA "
       "and LS.CHAVELCTOFIS%0:s = L.CHAVELCTOFIS%0:s "
       "join PROCESREFERENC P on P.CODIGOEMPRESA = LS.CODIGOEMPRESA and P.NUMPROCREF = LS.NUMPROC ";
  s += "where L.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "L");
  s += "and L.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and L.CDMODELO in ('1', '1B', '4', '55') ";
  s += "and L.CDSITUACAO in (0, 1, 6, 7, 8, 99) ";
  s += GetFiltroIndProcRef("P.INDPROCREF");
  s += ExisteCfopMercadoria("LS");
  s += OrdemDocumento("LS.DATALCTOFIS", EhEntrada(AParans));
  return FormatarSufixo(s, AParans);
}

TEMPLATE std::string TRepoC::GetSqlC120(const TParans& AParans) {
  std::string s =
      "select LS.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, LS.CDDOCIMP, "
      "cast(substr(LS.NUMDOCIMP, 1, 10) as varchar(10)) NUMDOCIMP, LS.VLRPISIMP, LS.VLRCOFINSIMP, LS.NUMACDRAW "
      "from LCTOFIS%0:s L join LCTOFIS%0:sSPEDC120 LS on LS.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "and LS.CHAVELCTOFIS%0:s = L.CHAVELCTOFIS%0:s ";
  s += "where L.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "L");
  s += "and L.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and L.CDMODELO in ('1', '1B', '4', '55') ";
  s += "and L.CDSITUACAO in (0, 1, 6, 7, 8, 99) ";
  s += ExisteCfopMercadoria("LS");
  s += OrdemDocumento("LS.DATALCTOFIS", EhEntrada(AParans));
  return FormatarSufixo(s, AParans);
}

// ------------------------------------------------------------------ C170 e consolidações

namespace {

// Um lançamento por linha: os que têm linha de ICMS/IPI no período (a gêmea sem filtro de
// estabelecimento).
template <class P>
std::string TabelaLCO(const P& p, const std::string& AHint, bool AComEstab) {
  std::string s = "join (select " + AHint +
                  " LCO.CODIGOEMPRESA, LCO.CHAVELCTOFIS%0:s from LCTOFIS%0:sCFOP LCO "
                  "       where LCO.CODIGOEMPRESA = :pCodigoEmpresa ";
  if (AComEstab) s += Estab3(p, "LCO");
  s += "       and LCO.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "       and LCO.TIPOIMPOSTO in (1, 3) ";
  s += "       group by LCO.CODIGOEMPRESA, LCO.CHAVELCTOFIS%0:s) LCO ";
  return s;
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC170(const TParans& AParans) {
  std::string s = "select " + GetIndexKorvelC170(AParans);
  s += " LP.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, LP.SEQ, "
       "LP.CODIGOPRODUTO, " +
       GetFiltroCFOP("LP.CODIGOCFOP", false) +
       " CODIGOCFOP, LP.CODIGOSITUACAOTRIBUT, LP.UNIDADEMEDIDA, LP.QUANTIDADE, LP.VALORTOTAL, "
       "LP.BASECALCULOICMS, LP.ALIQICMS, LP.VALORICMS, LP.BASECALCULOIPI, LP.ALIQIPI, LP.VALORIPI, "
       "LP.BASECALCULOSUBTRIBUT, LP.ALIQSUBTRIBUT, LP.VALORSUBTRIBUT, LP.VALORDESCONTO, LP.CSTIPI, LP.INDMOV, "
       "LPC.BASECALCULOPISCOFINS BASEPIS, LPC.QUANTIDADE QUANTIDADET, LPC.CDSITUATRIBUTPIS, LPC.ALIQPIS, "
       "LPC.VALORPIS, LPC.CDSITUATRIBUTCOFINS, LPC.BASECALCULOPISCOFINS BASECOFINS, LPC.ALIQCOFINS, "
       "LPC.VALORCOFINS, LPC.CONTACTBEFD CONTACTB, P.REFERENPRODUTO, %1:s INDOPER "
       "from LCTOFIS%0:s L "
       "join LCTOFIS%0:sPRODUTO LP on LP.CODIGOEMPRESA = L.CODIGOEMPRESA "
       "and LP.CHAVELCTOFIS%0:s = L.CHAVELCTOFIS%0:s "
       "join LCTOFIS%0:sPISCOFINS LPC on LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
       "and LPC.CHAVELCTOFIS%0:s = LP.CHAVELCTOFIS%0:s and LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO "
       "and LPC.SEQ = LP.SEQ "
       "join PRODUTO P on P.CODIGOEMPRESA = LP.CODIGOEMPRESA and P.CODIGOPRODUTO = LP.CODIGOPRODUTO "
       "join PESSOA PS on PS.CODIGOPESSOA = L.CODIGOPESSOA "
       "join ESTAB F on F.CODIGOEMPRESA = L.CODIGOEMPRESA and F.CODIGOESTAB = L.CODIGOESTAB ";
  s += TabelaLCO(AParans, GetIndexKorvelC170CFOP(AParans), !AMemoria);
  s += "on LCO.CODIGOEMPRESA = L.CODIGOEMPRESA and LCO.CHAVELCTOFIS%0:s = L.CHAVELCTOFIS%0:s ";
  s += "where L.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "L");
  s += "and L.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and L.CDMODELO in ('1', '1B', '4' ";
  if (AParans.IndApuracao == 2) s += ",'55'";
  s += " ) ";
  s += "and L.CDSITUACAO in (0, 1, 6, 7, 8, 99) ";
  if (EhEntrada(AParans)) {
    s += " order by LP.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, LP.SEQ";
    return Format(s, {TVariant{std::string("ENT")}, TVariant{std::string("0")}});
  }
  s += " order by LP.DATALCTOFIS, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF";
  return Format(s, {TVariant{std::string("SAI")}, TVariant{std::string("1")}});
}

namespace {

// Lançamento de saída com produtos ou cancelado.
const char* kProdutosOuCancelados = " AND ((LPC.CODIGOPRODUTO is not null) or (L.CDSITUACAO IN (2, 3, 99))) ";

const char* kExisteCfopSaidaL =
    " AND EXISTS (SELECT 1 FROM LCTOFISSAICFOP LSC WHERE LSC.CODIGOEMPRESA = L.CODIGOEMPRESA "
    "AND LSC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI AND LSC.TIPOIMPOSTO IN (1, 3)) ";

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC175(const TParans& AParans) {
  const std::string cfop = GetFiltroCFOP("LPC.CODIGOCFOP", true);
  std::string s =
      "SELECT L.DATALCTOFIS, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, " + cfop +
      " CODIGOCFOP, LPC.CDSITUATRIBUTPIS, LPC.ALIQPIS, LPC.CDSITUATRIBUTCOFINS, LPC.ALIQCOFINS, "
      "CASE WHEN LPC.QUANTIDADE > 0 THEN LPC.ALIQPIS ELSE 0 END ALIQPISQUANT, "
      "CASE WHEN LPC.QUANTIDADE > 0 THEN LPC.ALIQCOFINS ELSE 0 END ALIQCOFINSQUANT, "
      "cast(SUM(LPC.RECEITAPISCOFINS) as numeric(14,2)) RECEITAPISCOFINS, "
      "cast(SUM(LPC.VALORDESCONTO) as numeric(14,2)) VALORDESCONTO, "
      "cast(SUM(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
      "cast(SUM(LPC.QUANTIDADE) as numeric(14,2)) QUANTIDADE, "
      "cast(SUM(LPC.VALORPIS) as numeric(14,2)) VALORPIS, "
      "cast(SUM(LPC.VALORCOFINS) as numeric(14,2)) VALORCOFINS, "
      "LPC.CONTACTBEFD CONTACTB "
      "FROM LCTOFISSAI L "
      "JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
      "JOIN LCTOFISSAIPRODUTO LP ON LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
      "AND LP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI AND LP.SEQ = LPC.SEQ "
      "JOIN PESSOA PS ON PS.CODIGOPESSOA = L.CODIGOPESSOA "
      "JOIN ESTAB F ON F.CODIGOEMPRESA = L.CODIGOEMPRESA AND F.CODIGOESTAB = L.CODIGOESTAB ";
  s += "WHERE L.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "L");
  s += "AND L.DATALCTOFIS BETWEEN :pDataInicial AND :pDataFinal ";
  s += " AND L.CDMODELO = '65' ";
  s += kProdutosOuCancelados;
  s += kExisteCfopSaidaL;
  s += " AND NOT " + Transferencias("LPC.CODIGOCFOP") + " ";
  s += "GROUP BY L.NUMERONF, L.DATALCTOFIS, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, " + cfop +
       ", LPC.CDSITUATRIBUTPIS, LPC.ALIQPIS, LPC.CDSITUATRIBUTCOFINS, LPC.ALIQCOFINS, "
       "CASE WHEN LPC.QUANTIDADE > 0 THEN LPC.ALIQPIS ELSE 0 END, "
       "CASE WHEN LPC.QUANTIDADE > 0 THEN LPC.ALIQCOFINS ELSE 0 END, LPC.CONTACTBEFD ";
  s += "ORDER BY L.DATALCTOFIS, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF ";
  return s;
}

namespace {

// Filtros comuns de C180 e C181/C185 depois do período.
template <class P>
std::string FiltrosC180(const P& p, bool ALCOComEstab) {
  std::string s = "and LS.CDMODELO IN ('55', '65') ";
  s += "and LPC.TIPODEBITOPIS <> " + Debito43050() + " ";
  s += "and LPC.TIPODEBITO <> " + Debito43050() + " ";
  s += "and exists (select 1 from LCTOFISSAICFOP LCO where LCO.CODIGOEMPRESA = :pCodigoEmpresa ";
  if (ALCOComEstab) s += Estab3(p, "LCO");
  s += "and LCO.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and LCO.TIPOIMPOSTO in (1, 3) and LCO.CHAVELCTOFISSAI = LP.CHAVELCTOFISSAI) ";
  s += "and (not " + Devolucoes("LP.CODIGOCFOP") + ") ";
  s += "and (not " + Transferencias("LP.CODIGOCFOP") + ") ";
  return s;
}

const char* kFromC180 =
    "from LCTOFISSAI LS "
    "join LCTOFISSAIPISCOFINS LPC on LPC.CODIGOEMPRESA = LS.CODIGOEMPRESA "
    "and LPC.CHAVELCTOFISSAI = LS.CHAVELCTOFISSAI "
    "join LCTOFISSAIPRODUTO LP on LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
    "and LP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI and LP.SEQ = LPC.SEQ "
    "and LP.CODIGOPRODUTO = LPC.CODIGOPRODUTO and LP.CODIGOCFOP = LPC.CODIGOCFOP "
    "join PRODUTO P on P.CODIGOEMPRESA = LPC.CODIGOEMPRESA and P.CODIGOPRODUTO = LPC.CODIGOPRODUTO ";

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC180(const TParans& AParans) {
  std::string s =
      "select LPC.CODIGOPRODUTO, P.REFERENPRODUTO, P.EXIPI, P.CODIGONCM, LS.CDMODELO, "
      "cast(sum(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL ";
  s += kFromC180;
  s += "where LS.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "LS");
  s += "and LS.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += FiltrosC180(AParans, !AMemoria);
  s += "group by LPC.CODIGOPRODUTO, P.REFERENPRODUTO, P.EXIPI, P.CODIGONCM, LS.CDMODELO ";
  s += "order by LPC.CODIGOPRODUTO";
  return s;
}

TEMPLATE std::string TRepoC::GetSqlC181_185(const TParans& AParans) {
  const std::string cfop = GetFiltroCFOP("LPC.CODIGOCFOP", true);
  std::string s =
      "select LPC.CODIGOPRODUTO, LPC.CDSITUATRIBUTPIS, LPC.CDSITUATRIBUTCOFINS, LPC.ALIQPIS, LPC.ALIQCOFINS, "
      "LS.CDMODELO, LPC.CONTACTBEFD CONTACTB, " + cfop +
      " CODIGOCFOP, "
      "cast(sum(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
      "cast(sum(LPC.RECEITAPISCOFINS) as numeric(14,2)) RECEITAPISCOFINS, "
      "cast(sum(LPC.QUANTIDADE) as numeric(14,2)) QUANTIDADE, "
      "cast(sum(LPC.VALORPIS) as numeric(14,2)) VALORPIS, "
      "cast(sum(LPC.VALORCOFINS) as numeric(14,2)) VALORCOFINS, "
      "cast(sum(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
      "cast(sum(LP.VALORDESCONTO) as numeric(14,2)) VALORDESCONTO ";
  s += kFromC180;
  s += "join PESSOA PS on PS.CODIGOPESSOA = LS.CODIGOPESSOA "
       "join ESTAB F on F.CODIGOEMPRESA = LPC.CODIGOEMPRESA and F.CODIGOESTAB = LPC.CODIGOESTAB ";
  s += TabelaLCO(AParans, "", !AMemoria);
  s += "on LCO.CODIGOEMPRESA = LS.CODIGOEMPRESA and LCO.CHAVELCTOFISSAI = LS.CHAVELCTOFISSAI ";
  s += "where LS.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "LS");
  s += "and LS.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += FiltrosC180(AParans, !AMemoria);
  s += "group by LPC.CODIGOPRODUTO, " + cfop +
       ", LPC.CDSITUATRIBUTPIS, LPC.CDSITUATRIBUTCOFINS, LPC.ALIQPIS, LPC.ALIQCOFINS, LS.CDMODELO, "
       "LPC.CONTACTBEFD ";
  s += "order by LPC.CODIGOPRODUTO, LS.CDMODELO";
  return Format(s, {TVariant{std::string("SAI")}});
}

TEMPLATE std::string TRepoC::GetSqlC188(const TParans& AParans) {
  std::string s = "select distinct P.CODIGOPRODUTO, PR.NUMPROCREF, PR.INDPROCREF ";
  s += kFromC180;
  s += "join RELACPROCESREFPRODUTO RPP on RPP.CODIGOEMPRESA = P.CODIGOEMPRESA "
       "and RPP.CODIGOPRODUTO = P.CODIGOPRODUTO "
       "join PROCESREFERENC PR on PR.CODIGOEMPRESA = RPP.CODIGOEMPRESA and PR.NUMPROCREF = RPP.NUMPROCREF ";
  s += "where LS.CODIGOEMPRESA = :pCODIGOEMPRESA ";
  s += Estab(AParans, "LS");
  s += "and LS.DATALCTOFIS between :pDATAINICIAL and :pDATAFINAL ";
  s += "and LS.DATALCTOFIS between PR.DATAINICIAL and PR.DATAFINAL ";
  s += "and LS.CDMODELO = '55' ";
  s += "and (not " + Devolucoes("LP.CODIGOCFOP") + ") ";
  s += "and (not " + Transferencias("LP.CODIGOCFOP") + ") ";
  s += "order by P.CODIGOPRODUTO";
  return s;
}

TEMPLATE std::string TRepoC::GetSqlC190(const TParans& AParans) {
  // Parte 1: entradas de modelo 55 (sem transferências nem energia); parte 2: devoluções de venda.
  std::string s =
      "select P.CODIGOPRODUTO, P.REFERENPRODUTO, P.EXIPI, P.CODIGONCM, "
      "cast(sum(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL "
      "from LCTOFISENTPISCOFINS LPC "
      "join LCTOFISENT LE on LE.CODIGOEMPRESA = LPC.CODIGOEMPRESA and LE.CHAVELCTOFISENT = LPC.CHAVELCTOFISENT "
      "join LCTOFISENTPRODUTO LP on LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
      "and LP.CHAVELCTOFISENT = LPC.CHAVELCTOFISENT and LP.SEQ = LPC.SEQ "
      "and LP.CODIGOPRODUTO = LPC.CODIGOPRODUTO "
      "join PRODUTO P on P.CODIGOEMPRESA = LPC.CODIGOEMPRESA and P.CODIGOPRODUTO = LPC.CODIGOPRODUTO ";
  s += "where LPC.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab3(AParans, "LPC");
  s += "and LPC.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and LE.CDMODELO = '55' ";
  s += "and not " + Transferencias("LP.CODIGOCFOP") + " ";
  s += "and not " + EnergiaEletrica("LP.CODIGOCFOP") + " ";
  s += "and LPC.VALORPIS + LPC.VALORCOFINS > 0 ";
  s += "group by P.CODIGOPRODUTO, P.REFERENPRODUTO, P.EXIPI, P.CODIGONCM ";
  s += "union all "
       "select P.CODIGOPRODUTO, P.REFERENPRODUTO, P.EXIPI, P.CODIGONCM, "
       "cast(sum(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL "
       "from LCTOFISSAIPISCOFINS LPC "
       "join LCTOFISSAI LS on LS.CODIGOEMPRESA = LPC.CODIGOEMPRESA and LS.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI "
       "join LCTOFISSAIPRODUTO LP on LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
       "and LP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI and LP.SEQ = LPC.SEQ "
       "and LP.CODIGOPRODUTO = LPC.CODIGOPRODUTO "
       "join PRODUTO P on P.CODIGOEMPRESA = LPC.CODIGOEMPRESA and P.CODIGOPRODUTO = LPC.CODIGOPRODUTO ";
  s += "where LS.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "LS");
  s += "and LS.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and LS.CDMODELO = '55' ";
  s += "and " + Devolucoes("LP.CODIGOCFOP") + " ";
  s += "and LPC.VALORPIS + LPC.VALORCOFINS > 0 ";
  s += "group by P.CODIGOPRODUTO, P.REFERENPRODUTO, P.EXIPI, P.CODIGONCM ";
  s += " order by 1";
  return s;
}

namespace {

const char* kSomasC191 =
    "cast(SUM(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
    "cast(SUM(LPC.RECEITAPISCOFINS) as numeric(14,2)) RECEITAPISCOFINS, "
    "cast(SUM(LPC.QUANTIDADE) as numeric(14,2)) QUANTIDADE, "
    "cast(SUM(LPC.VALORPIS) as numeric(14,2)) VALORPIS, "
    "cast(SUM(LPC.VALORCOFINS) as numeric(14,2)) VALORCOFINS, "
    "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
    "cast(SUM(LP.VALORDESCONTO) as numeric(14,2)) VALORDESCONTO, ";

const char* kInscricao = "CASE WHEN PE.TIPOINSCR = 4 THEN '' ELSE PE.INSCRFEDERAL END";

std::string JoinsC191(const std::string& ALado, const std::string& ACab) {
  const std::string s =
      "FROM LCTOFIS%0:sPISCOFINS LPC JOIN LCTOFIS%0:s " + ACab + " ON " + ACab + ".CODIGOEMPRESA = LPC.CODIGOEMPRESA AND " +
      ACab + ".CHAVELCTOFIS%0:s = LPC.CHAVELCTOFIS%0:s" + (ALado == "ENT" ? " AND LE.CDMODELO = '55' " : " ") +
      "JOIN LCTOFIS%0:sPRODUTO LP ON LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
      "AND LP.CHAVELCTOFIS%0:s = LPC.CHAVELCTOFIS%0:s AND LP.SEQ = LPC.SEQ AND LP.CODIGOPRODUTO = LPC.CODIGOPRODUTO "
      "JOIN PESSOA PE ON PE.CODIGOPESSOA = " + ACab + ".CODIGOPESSOA ";
  return Format(s, {TVariant{ALado}});
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC191_195(const TParans& AParans) {
  const std::string colunas =
      "SELECT LPC.CODIGOPRODUTO, SUBSTR(cast(LPC.CODIGOCFOP as varchar(10)), 1, 4) CODIGOCFOP, "
      "LPC.CDSITUATRIBUTPIS, LPC.CDSITUATRIBUTCOFINS, LPC.ALIQPIS, LPC.ALIQCOFINS, LPC.CONTACTBEFD CONTACTB, ";
  const std::string grupo =
      "GROUP BY LPC.CODIGOPRODUTO, SUBSTR(cast(LPC.CODIGOCFOP as varchar(10)), 1, 4), LPC.CDSITUATRIBUTPIS, "
      "LPC.CDSITUATRIBUTCOFINS, LPC.ALIQPIS, LPC.ALIQCOFINS, LPC.CONTACTBEFD, " + std::string(kInscricao);
  std::string s = colunas + kSomasC191 + kInscricao + " INSCRFEDERAL, 0 INDOPER ";
  s += JoinsC191("ENT", "LE");
  s += "WHERE LPC.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab3(AParans, "LPC");
  s += "AND LPC.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += "AND LPC.VALORPIS + LPC.VALORCOFINS > 0 ";
  s += "AND NOT " + Transferencias("LPC.CODIGOCFOP") + " ";
  s += grupo + ", CASE WHEN LPC.QUANTIDADE > 0 THEN 1 ELSE 0 END ";
  s += "UNION ALL ";
  s += colunas + kSomasC191 + kInscricao + " INSCRFEDERAL, 1 INDOPER ";
  s += JoinsC191("SAI", "LS");
  s += "WHERE LS.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab(AParans, "LS");
  s += "AND LS.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += "AND LS.CDMODELO = '55' ";
  s += "AND LPC.VALORPIS + LPC.VALORCOFINS > 0 ";
  s += "AND " + Devolucoes("LPC.CODIGOCFOP") + " ";
  s += grupo + " ";
  s += " ORDER BY 1";
  return s;
}

TEMPLATE std::string TRepoC::GetSqlC198(const TParans& AParans) {
  const char* processo =
      "JOIN PRODUTO P ON P.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND P.CODIGOPRODUTO = LPC.CODIGOPRODUTO "
      "JOIN RELACPROCESREFPRODUTO RPP ON RPP.CODIGOEMPRESA = P.CODIGOEMPRESA AND RPP.CODIGOPRODUTO = P.CODIGOPRODUTO "
      "JOIN PROCESREFERENC PR ON PR.CODIGOEMPRESA = RPP.CODIGOEMPRESA AND PR.NUMPROCREF = RPP.NUMPROCREF ";
  std::string s = "SELECT DISTINCT P.CODIGOPRODUTO, PR.NUMPROCREF, PR.INDPROCREF "
                  "FROM LCTOFISENTPISCOFINS LPC ";
  s += processo;
  s += "WHERE LPC.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab3(AParans, "LPC");
  s += "AND LPC.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += "AND LPC.DATALCTOFIS BETWEEN PR.DATAINICIAL AND PR.DATAFINAL ";
  s += "AND NOT " + Transferencias("LPC.CODIGOCFOP") + " ";
  s += "UNION ALL SELECT DISTINCT P.CODIGOPRODUTO, PR.NUMPROCREF, PR.INDPROCREF "
       "FROM LCTOFISSAIPISCOFINS LPC "
       "JOIN LCTOFISSAI LS ON LS.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND LS.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI ";
  s += processo;
  s += "WHERE LS.CODIGOEMPRESA = :PCODIGOEMPRESA ";
  s += Estab(AParans, "LS");
  s += "AND LS.DATALCTOFIS BETWEEN :PDATAINICIAL AND :PDATAFINAL ";
  s += "AND LPC.DATALCTOFIS BETWEEN PR.DATAINICIAL AND PR.DATAFINAL ";
  s += "AND LS.CDMODELO = '55' ";
  s += "AND " + Devolucoes("LPC.CODIGOCFOP") + " ";
  s += "ORDER BY 1 ";
  return s;
}

TEMPLATE std::string TRepoC::GetSqlC199(const TParans& AParans) {
  std::string s =
      "SELECT P.CODIGOPRODUTO, P.REFERENPRODUTO, P.EXIPI, P.CODIGONCM, LS.CDDOCIMP, LS.NUMDOCIMP, "
      "cast(SUM(LS.VLRPISIMP) as numeric(14,2)) VLRPISIMP, cast(SUM(LS.VLRCOFINSIMP) as numeric(14,2)) "
      "VLRCOFINSIMP, LS.NUMACDRAW "
      "FROM LCTOFISENTSPEDC120 LS "
      "JOIN LCTOFISENTPRODUTO LP ON LP.CODIGOEMPRESA = LS.CODIGOEMPRESA "
      "AND LP.CHAVELCTOFISENT = LS.CHAVELCTOFISENT AND LP.CODIGOPRODUTO = LS.CODIGOPRODUTO "
      "JOIN LCTOFISENT L ON L.CODIGOEMPRESA = LS.CODIGOEMPRESA AND L.CHAVELCTOFISENT = LS.CHAVELCTOFISENT "
      "JOIN PRODUTO P ON P.CODIGOEMPRESA = LP.CODIGOEMPRESA AND P.CODIGOPRODUTO = LP.CODIGOPRODUTO ";
  s += "WHERE LS.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab3(AParans, "LS");
  s += "AND LS.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += "AND L.CDMODELO IN ('55') ";
  s += "GROUP BY P.CODIGOPRODUTO, P.REFERENPRODUTO, P.EXIPI, P.CODIGONCM, LS.CDDOCIMP, LS.NUMDOCIMP, LS.NUMACDRAW ";
  s += "ORDER BY P.CODIGOPRODUTO, P.REFERENPRODUTO, P.EXIPI, P.CODIGONCM";
  return s;
}

// ------------------------------------------------------------------ C380 a C396

TEMPLATE std::string TRepoC::GetSqlC380(const TParans& AParans) {
  std::string s = "select LS.NUMERONF, LS.NUMERONFFINAL, LS.DATALCTOFIS, LS.VALORCONTABIL from LCTOFISSAI LS ";
  s += "where LS.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "LS");
  s += "and LS.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and LS.CDMODELO = '2' ";
  s += "order by LS.NUMERONF, LS.SERIENF, LS.SUBSERIENF";
  return s;
}

namespace {

std::string SqlC381C385(const std::string& AEstab, bool APis) {
  const std::string cst = APis ? "LPC.CDSITUATRIBUTPIS" : "LPC.CDSITUATRIBUTCOFINS";
  const std::string aliq = APis ? "LPC.ALIQPIS" : "LPC.ALIQCOFINS";
  const std::string tributo = APis ? "VALORPIS" : "VALORCOFINS";
  std::string s = "select " + cst + ", P.REFERENPRODUTO, cast(sum(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(sum(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
                  "cast(sum(LPC.QUANTIDADE) as numeric(14,2)) QUANTIDADE, "
                  "cast(sum(LPC." + tributo + ") as numeric(14,2)) " + tributo + ", " + aliq +
                  ", LPC.CONTACTBEFD CONTACTB "
                  "from LCTOFISSAI LS "
                  "join LCTOFISSAIPISCOFINS LPC on LPC.CODIGOEMPRESA = LS.CODIGOEMPRESA "
                  "and LPC.CHAVELCTOFISSAI = LS.CHAVELCTOFISSAI "
                  "join LCTOFISSAIPRODUTO LP on LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
                  "and LP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI and LP.CODIGOPRODUTO = LPC.CODIGOPRODUTO "
                  "and LP.CODIGOCFOP = LPC.CODIGOCFOP and LP.SEQ = LPC.SEQ "
                  "join PRODUTO P on P.CODIGOEMPRESA = LPC.CODIGOEMPRESA and P.CODIGOPRODUTO = LPC.CODIGOPRODUTO ";
  s += "where LS.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += AEstab;
  s += "and LS.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and LS.NUMERONF >= :pNumeroNF and LS.NUMERONFFINAL <= :pNumeroNFFinal ";
  s += "and LS.CDMODELO = '2' ";
  s += "group by " + cst + ", P.REFERENPRODUTO, " + aliq + ", LPC.CONTACTBEFD ";
  s += "order by " + cst + ", P.REFERENPRODUTO";
  return s;
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC381(const TParans& AParans) { return SqlC381C385(Estab(AParans, "LS"), true); }
TEMPLATE std::string TRepoC::GetSqlC385(const TParans& AParans) { return SqlC381C385(Estab3(AParans, "LS"), false); }

TEMPLATE std::string TRepoC::GetSqlC395(const TParans& AParans) {
  std::string s =
      "select LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF, LE.DATALCTOFIS, LE.CDMODELO, "
      "cast(sum(LE.VALORCONTABIL) as numeric(14,2)) VALORCONTABIL from LCTOFISENT LE ";
  s += "where LE.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab3(AParans, "LE");
  s += "and LE.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and LE.CDMODELO in ('2', '2D', '2E', '59', '65') ";
  s += "and (select cast(sum(P.VALORPIS + P.VALORCOFINS) as numeric(14,2)) from LCTOFISENTPISCOFINS P "
       "where P.CODIGOEMPRESA = LE.CODIGOEMPRESA and P.CHAVELCTOFISENT = LE.CHAVELCTOFISENT) > 0 ";
  s += "group by LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF, LE.DATALCTOFIS, "
       "LE.CDMODELO ";
  s += "order by LE.DATALCTOFIS, LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF, "
       "LE.CDMODELO";
  return s;
}

TEMPLATE std::string TRepoC::GetSqlC396(const TParans& AParans) {
  std::string s =
      "select LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF, LPC.DATALCTOFIS, LE.CDMODELO, "
      "P.REFERENPRODUTO, LP.VALORTOTAL, LP.VALORDESCONTO, LPC.TIPOCREDITO, LPC.CDSITUATRIBUTPIS, LPC.ALIQPIS, "
      "LPC.VALORPIS, LPC.CDSITUATRIBUTCOFINS, LPC.ALIQCOFINS, LPC.VALORCOFINS, LPC.BASECALCULOPISCOFINS, ";
  // A gêmea não traz a receita.
  if constexpr (!AMemoria) s += "LPC.RECEITAPISCOFINS, ";
  s += "LPC.CONTACTBEFD CONTACTB "
       "from LCTOFISENTPISCOFINS LPC "
       "join LCTOFISENT LE on LE.CODIGOEMPRESA = LPC.CODIGOEMPRESA and LE.CHAVELCTOFISENT = LPC.CHAVELCTOFISENT "
       "join LCTOFISENTPRODUTO LP on LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
       "and LP.CHAVELCTOFISENT = LPC.CHAVELCTOFISENT and LP.CODIGOPRODUTO = LPC.CODIGOPRODUTO and LP.SEQ = LPC.SEQ "
       "join PRODUTO P on P.CODIGOEMPRESA = LPC.CODIGOEMPRESA and P.CODIGOPRODUTO = LPC.CODIGOPRODUTO ";
  s += "where LPC.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab3(AParans, "LPC");
  s += "and LPC.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and LE.CDMODELO in ('2', '2D', '2E', '59', '65') ";
  s += "and (LPC.VALORPIS + LPC.VALORCOFINS) > 0 ";
  s += "order by LPC.DATALCTOFIS, LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF, "
       "LE.CDMODELO";
  return s;
}

// ------------------------------------------------------------------ C400 a C499 (ECF)

namespace {

// Fonte da gêmea para C400/C405: parte dos lançamentos de saída.
std::string FonteMemoriaC400(const std::string& AEstab) {
  std::string s = "FROM LCTOFISSAI L "
                  "JOIN LCTOFISSAIREDUCAOZ RZ ON RZ.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND RZ.CODIGOREDUCAOZ = L.CODIGOREDUCAOZ "
                  "JOIN IMPRESSORAFISCAL I ON I.CODIGOEMPRESA = RZ.CODIGOEMPRESA AND I.CODIGOESTAB = RZ.CODIGOESTAB "
                  "AND I.CODIGOIMPRESSORAFISCAL = RZ.CODIGOIMPRESSORAFISCAL ";
  s += "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += AEstab;
  s += "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  return s;
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC400(const TParans& AParans) {
  std::string s =
      "SELECT DISTINCT I.CODIGOIMPRESSORAFISCAL, I.CDMODELO, I.DESCRIMPRESSORAFISCAL, I.NUMEROSERIE, I.NRCAIXA ";
  if constexpr (AMemoria) {
    s += FonteMemoriaC400(Estab3(AParans, "L"));
  } else {
    s += "FROM IMPRESSORAFISCAL I "
         "JOIN LCTOFISSAIREDUCAOZ RZ ON RZ.CODIGOEMPRESA = I.CODIGOEMPRESA AND RZ.CODIGOESTAB = I.CODIGOESTAB "
         "AND RZ.CODIGOIMPRESSORAFISCAL = I.CODIGOIMPRESSORAFISCAL ";
    s += "WHERE I.CODIGOEMPRESA = :CODIGOEMPRESA ";
    s += Estab3(AParans, "I");
    s += "AND RZ.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  }
  s += "AND I.CDMODELO IN ('2', '2D') ";
  return s;
}

TEMPLATE std::string TRepoC::GetSqlC405(const TParans& AParans) {
  std::string s =
      "SELECT RZ.CODIGOIMPRESSORAFISCAL, RZ.CODIGOREDUCAOZ, RZ.DATALCTOFIS, RZ.CONTADORREINICIOOPERACAO, "
      "RZ.CONTADORREDUCAOZ, RZ.CUPOMFINAL, RZ.TOTALGERAL, RZ.TOTALBRUTO ";
  if constexpr (AMemoria) {
    // Na gêmea a redução vem uma vez por cupom; o modelo é filtro do WHERE.
    s += FonteMemoriaC400(Estab3(AParans, "L"));
    s += "AND RZ.CODIGOIMPRESSORAFISCAL = :CODIGOIMPRESSORAFISCAL ";
    s += "AND I.CDMODELO IN ('2', '2D') ";
  } else {
    s += "FROM LCTOFISSAIREDUCAOZ RZ "
         "JOIN IMPRESSORAFISCAL I ON I.CODIGOEMPRESA = RZ.CODIGOEMPRESA AND I.CODIGOESTAB = RZ.CODIGOESTAB "
         "AND I.CODIGOIMPRESSORAFISCAL = RZ.CODIGOIMPRESSORAFISCAL AND I.CDMODELO IN ('2', '2D') ";
    s += "WHERE RZ.CODIGOEMPRESA = :CODIGOEMPRESA ";
    s += Estab3(AParans, "RZ");
    s += "AND RZ.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
    s += "AND RZ.CODIGOIMPRESSORAFISCAL = :CODIGOIMPRESSORAFISCAL ";
  }
  s += "ORDER BY RZ.DATALCTOFIS ";
  return s;
}

namespace {

template <class P>
std::string SqlC481C485(const P& p, bool APis) {
  const std::string cst = APis ? "LPC.CDSITUATRIBUTPIS" : "LPC.CDSITUATRIBUTCOFINS";
  const std::string aliq = APis ? "ALIQPIS" : "ALIQCOFINS";
  const std::string tributo = APis ? "VALORPIS" : "VALORCOFINS";
  std::string s = "SELECT L.CODIGOREDUCAOZ, " + cst + ", LPC.CODIGOPRODUTO, P.REFERENPRODUTO, "
                  "cast(MAX(LPC." + aliq + ") as numeric(14,6)) " + aliq + ", "
                  "MAX(LPC.CONTACTBEFD) CONTACTB, "
                  "cast(SUM(LPC.QUANTIDADE) as numeric(14,2)) QUANTIDADE, "
                  "cast(SUM(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
                  "cast(SUM(LPC." + tributo + ") as numeric(14,2)) " + tributo + ", "
                  "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL "
                  "FROM LCTOFISSAI L "
                  "JOIN LCTOFISSAIREDUCAOZ RZ ON RZ.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND RZ.CODIGOREDUCAOZ = L.CODIGOREDUCAOZ "
                  "JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
                  "JOIN LCTOFISSAIPRODUTO LP ON LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
                  "AND LP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI AND LP.CODIGOPRODUTO = LPC.CODIGOPRODUTO "
                  "AND LP.SEQ = LPC.SEQ "
                  "JOIN PRODUTO P ON P.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND P.CODIGOPRODUTO = LPC.CODIGOPRODUTO ";
  s += "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab(p, "L");
  s += "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += "AND RZ.CODIGOIMPRESSORAFISCAL = :CODIGOIMPRESSORAFISCAL ";
  s += "GROUP BY L.CODIGOREDUCAOZ, " + cst + ", LPC.CODIGOPRODUTO, P.REFERENPRODUTO ";
  s += "ORDER BY L.CODIGOREDUCAOZ";
  return s;
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC481(const TParans& AParans) { return SqlC481C485(AParans, true); }
TEMPLATE std::string TRepoC::GetSqlC485(const TParans& AParans) { return SqlC481C485(AParans, false); }

TEMPLATE std::string TRepoC::GetSqlProcRefC489_499(const TParans&) {
  // Processos que tocam o período; sem estabelecimento.
  return "SELECT R.CODIGOPRODUTO, P.NUMPROCREF, P.INDPROCREF FROM RELACPROCESREFPRODUTO R "
         "JOIN PROCESREFERENC P ON P.CODIGOEMPRESA = R.CODIGOEMPRESA AND P.NUMPROCREF = R.NUMPROCREF "
         " WHERE R.CODIGOEMPRESA = :CODIGOEMPRESA  AND P.DATAFINAL >= :DATAINICIAL  AND P.DATAINICIAL <= :DATAFINAL "
         "order by R.CODIGOPRODUTO";
}

TEMPLATE std::string TRepoC::GetSqlC490(const TParans& AParans) {
  // A gêmea difere só em brancos.
  const std::string b = AMemoria ? "  " : " ";
  std::string s = "SELECT MIN(L.DATALCTOFIS) DATALCTOFISINI," + b + "MAX(L.DATALCTOFIS) DATALCTOFISFIN, L.CDMODELO "
                  "FROM LCTOFISSAI L "
                  "JOIN LCTOFISSAIREDUCAOZ RZ ON RZ.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND RZ.CODIGOREDUCAOZ = L.CODIGOREDUCAOZ "
                  "JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI ";
  s += "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab(AParans, "L");
  s += "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND L.CDMODELO = '2D' ";
  s += "GROUP BY L.CDMODELO";
  return s;
}

namespace {

template <class TR, class P>
std::string SqlC491C495(const P& p, bool APis) {
  const std::string cfop = TR::GetFiltroCFOP("LP.CODIGOCFOP", true);
  const std::string cst = APis ? "LPC.CDSITUATRIBUTPIS" : "LPC.CDSITUATRIBUTCOFINS";
  const std::string aliq = APis ? "ALIQPIS" : "ALIQCOFINS";
  const std::string tributo = APis ? "VALORPIS" : "VALORCOFINS";
  std::string s = "SELECT LPC.CODIGOPRODUTO, P.REFERENPRODUTO, " + cfop + " CODIGOCFOP, " + cst +
                  ", cast(MAX(LPC." + aliq + ") as numeric(14,6)) " + aliq +
                  ", MAX(LPC.CONTACTBEFD) CONTACTB, "
                  "cast(SUM(LPC.QUANTIDADE) as numeric(14,2)) QUANTIDADE, "
                  "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(SUM(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
                  "cast(SUM(LPC." + tributo + ") as numeric(14,2)) " + tributo + " "
                  "FROM LCTOFISSAI L "
                  "JOIN LCTOFISSAIREDUCAOZ RZ ON RZ.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND RZ.CODIGOREDUCAOZ = L.CODIGOREDUCAOZ "
                  "JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
                  "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
                  "JOIN LCTOFISSAIPRODUTO LP ON LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
                  "AND LP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI AND LP.CODIGOPRODUTO = LPC.CODIGOPRODUTO "
                  "AND LP.SEQ = LPC.SEQ "
                  "JOIN PRODUTO P ON P.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND P.CODIGOPRODUTO = LPC.CODIGOPRODUTO "
                  "JOIN PESSOA PS ON PS.CODIGOPESSOA = L.CODIGOPESSOA "
                  "JOIN ESTAB F ON F.CODIGOEMPRESA = L.CODIGOEMPRESA AND F.CODIGOESTAB = L.CODIGOESTAB ";
  s += "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab(p, "L");
  s += "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND L.CDMODELO = '2D' ";
  s += "GROUP BY LPC.CODIGOPRODUTO, P.REFERENPRODUTO, " + cfop + ", " + cst;
  return s;
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC491(const TParans& AParans) { return SqlC491C495<TRepoC>(AParans, true); }
TEMPLATE std::string TRepoC::GetSqlC495(const TParans& AParans) { return SqlC491C495<TRepoC>(AParans, false); }

// ------------------------------------------------------------------ C500 a C609 (energia, água, gás, comunicação)

namespace {

std::string ModelosEnergia(const std::string& AModelos) {
  return "AND ((L.CDMODELO IN (" + AModelos + ")) or (L.CDMODELO = '55' AND (" +
         EnergiaNoEstado("LP.CODIGOCFOP") + " or " + EnergiaForaEstado("LP.CODIGOCFOP") + "))) ";
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC500(const TParans& AParans) {
  std::string s =
      "SELECT L.CHAVENFEENT, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, L.DATALCTOFIS, L.CODIGOPESSOA, "
      "L.CDMODELO, L.CDSITUACAO, L.DATAEMISSAO, LC.CODOBS0450, "
      "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, cast(SUM(LP.VALORICMS) as numeric(14,2)) VALORICMS, "
      "cast(SUM(LPC.VALORPIS) as numeric(14,2)) VALORPIS, cast(SUM(LPC.VALORCOFINS) as numeric(14,2)) VALORCOFINS "
      "FROM LCTOFISENT L "
      "JOIN LCTOFISENTPRODUTO LP ON LP.CODIGOEMPRESA = L.CODIGOEMPRESA AND LP.CHAVELCTOFISENT = L.CHAVELCTOFISENT "
      "JOIN LCTOFISENTPISCOFINS LPC ON LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
      "AND LPC.CHAVELCTOFISENT = LP.CHAVELCTOFISENT AND LPC.SEQ = LP.SEQ AND LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO "
      "LEFT JOIN LCTOFISENTCOMPL LC ON LC.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "AND LC.CHAVELCTOFISENT = L.CHAVELCTOFISENT ";
  s += "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab3(AParans, "L");
  s += "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  // Só o primeiro complemento do lançamento.
  s += "AND ((LC.SEQ is null) or  (LC.SEQ = (SELECT MIN(LC2.SEQ) FROM LCTOFISENTCOMPL LC2 "
       "WHERE LC2.CODIGOEMPRESA = L.CODIGOEMPRESA AND LC2.CHAVELCTOFISENT = L.CHAVELCTOFISENT))) ";
  s += ModelosEnergia("'6', '28', '29', '66'");
  s += "GROUP BY L.CHAVENFEENT, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, L.DATALCTOFIS, L.CODIGOPESSOA, "
       "L.CDMODELO, L.CDSITUACAO, L.DATAEMISSAO, LC.CODOBS0450 ";
  s += "HAVING cast(SUM(LPC.VALORPIS) as numeric(14,2)) + cast(SUM(LPC.VALORCOFINS) as numeric(14,2)) > 0 ";
  s += " order by L.DATALCTOFIS ";
  return s;
}

namespace {

template <class TR, class P>
std::string SqlC501C505(const P& p, bool APis) {
  const std::string cst = APis ? "LPC.CDSITUATRIBUTPIS" : "LPC.CDSITUATRIBUTCOFINS";
  const std::string credito = APis ? "LPC.TIPOCREDITOPIS" : "LPC.TIPOCREDITO";
  const std::string aliq = APis ? "ALIQPIS" : "ALIQCOFINS";
  const std::string tributo = APis ? "VALORPIS" : "VALORCOFINS";
  const std::string doc = "L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF";
  std::string s = "select " + TR::GetIndexKorvelC505_501(p) + " LP.DATALCTOFIS, " + doc + ", " + cst + ", " + credito +
                  (APis ? " TIPOCREDITO" : "") + ", cast(MAX(LPC." + aliq + ") as numeric(14,6)) " + aliq +
                  ", MAX(LPC.CONTACTBEFD) CONTACTB, "
                  "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(SUM(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
                  "cast(SUM(LPC." + tributo + ") as numeric(14,2)) " + tributo + " "
                  "from LCTOFISENTPRODUTO LP "
                  "join LCTOFISENT L on L.CODIGOEMPRESA = LP.CODIGOEMPRESA and L.CHAVELCTOFISENT = LP.CHAVELCTOFISENT "
                  "join LCTOFISENTPISCOFINS LPC on LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
                  "and LPC.CHAVELCTOFISENT = LP.CHAVELCTOFISENT and LPC.SEQ = LP.SEQ "
                  "and LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO ";
  s += "where LP.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab3(p, "LP");
  s += "and LP.DATALCTOFIS between :DATAINICIAL and :DATAFINAL ";
  s += ModelosEnergia("'6', '66', '28', '29'");
  s += "group by LP.DATALCTOFIS, " + doc + ", " + cst + ", " + credito + " ";
  s += "order by LP.DATALCTOFIS, " + doc;
  return s;
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC501(const TParans& AParans) { return SqlC501C505<TRepoC>(AParans, true); }
TEMPLATE std::string TRepoC::GetSqlC505(const TParans& AParans) { return SqlC501C505<TRepoC>(AParans, false); }

TEMPLATE std::string TRepoC::GetSqlC509(const TParans& AParans) {
  std::string s =
      "SELECT DISTINCT LP.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, "
      "PR.NUMPROCREF, PR.INDPROCREF "
      "FROM PROCESREFERENC PR "
      "JOIN RELACPROCESREFPRODUTO RP ON RP.CODIGOEMPRESA = PR.CODIGOEMPRESA AND RP.NUMPROCREF = PR.NUMPROCREF "
      "JOIN LCTOFISENTPRODUTO LP ON LP.CODIGOEMPRESA = RP.CODIGOEMPRESA AND LP.CODIGOPRODUTO = RP.CODIGOPRODUTO "
      "JOIN LCTOFISENT L ON L.CODIGOEMPRESA = LP.CODIGOEMPRESA AND L.CHAVELCTOFISENT = LP.CHAVELCTOFISENT ";
  s += "WHERE LP.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab3(AParans, "LP");
  s += "AND LP.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += "AND LP.DATALCTOFIS BETWEEN PR.DATAINICIAL AND PR.DATAFINAL ";
  s += "AND L.CDMODELO IN ('6', '66', '28', '29') ";
  s += "ORDER BY LP.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF";
  return s;
}

namespace {

const char* kFromC600 =
    "FROM LCTOFISSAI L "
    "JOIN LCTOFISSAIPRODUTO LP ON LP.CODIGOEMPRESA = L.CODIGOEMPRESA AND LP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
    "JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
    "AND LPC.CHAVELCTOFISSAI = LP.CHAVELCTOFISSAI AND LPC.SEQ = LP.SEQ AND LPC.CODIGOPRODUTO = LP.CODIGOPRODUTO "
    "JOIN PESSOA P ON P.CODIGOPESSOA = L.CODIGOPESSOA "
    "LEFT JOIN MUNICIPIO M ON M.SIGLAESTADO = P.SIGLAESTADO AND M.CODIGOMUNIC = P.CODIGOMUNIC "
    "LEFT JOIN LCTOFISSAISPEDC500 SP ON SP.CODIGOEMPRESA = L.CODIGOEMPRESA "
    "AND SP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI ";

const char* kModelosC600 = "AND L.CDMODELO IN ('6', '66', '28', '29') ";

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC600(const TParans& AParans) {
  const std::string cols =
      "L.NUMERONF, L.ESPECIENF, L.CDSITUACAO, L.CDMODELO, L.SERIENF, L.SUBSERIENF, L.DATALCTOFIS, "
      "L.VALORCONTABIL, L.VLRDESC, L.VLROUTRDESP, M.CODIGORAIS, SP.CODIGOCONSUMO, SP.CONSTOTKWH, SP.VALORTERCEIRO, "
      "SP.VALORFORNECIMENTO";
  std::string s = "SELECT " + cols +
                  ", cast(SUM(LP.ISENTASICMS + LP.OUTRASICMS) as numeric(14,2)) VLSERVNT, "
                  "cast(SUM(LP.BASECALCULOICMS) as numeric(14,2)) BASECALCULOICMS, "
                  "cast(SUM(LP.VALORICMS) as numeric(14,2)) VALORICMS, "
                  "cast(SUM(LP.BASECALCULOSUBTRIBUT) as numeric(14,2)) BASECALCULOSUBTRIBUT, "
                  "cast(SUM(LP.VALORSUBTRIBUT) as numeric(14,2)) VALORSUBTRIBUT, "
                  "cast(SUM(LPC.VALORPIS) as numeric(14,2)) VALORPIS, "
                  "cast(SUM(LPC.VALORCOFINS) as numeric(14,2)) VALORCOFINS ";
  s += kFromC600;
  s += "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab(AParans, "L");
  s += "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += kModelosC600;
  s += "AND L.CDSITUACAO IN (0, 1, 2, 3, 99) ";
  s += "GROUP BY " + cols + " ";
  s += "ORDER BY L.DATALCTOFIS, L.CDMODELO, M.CODIGORAIS, L.SERIENF, L.SUBSERIENF, SP.CODIGOCONSUMO";
  return s;
}

namespace {

std::string SqlC601C605(const std::string& AEstab, bool APis, bool AMemoria) {
  const std::string cst = APis ? "LPC.CDSITUATRIBUTPIS" : "LPC.CDSITUATRIBUTCOFINS";
  const std::string aliq = APis ? "ALIQPIS" : "ALIQCOFINS";
  const std::string tributo = APis ? "VALORPIS" : "VALORCOFINS";
  const std::string grupo = "L.CDMODELO, M.CODIGORAIS, L.SERIENF, L.SUBSERIENF, SP.CODIGOCONSUMO, L.DATALCTOFIS";
  // A gêmea difere só em brancos.
  std::string s = std::string(AMemoria ? "SELECT  " : "SELECT ") + grupo + ", " + cst +
                  ", cast(MAX(LPC." + aliq + ") as numeric(14,6)) " + aliq +
                  ", MAX(LPC.CONTACTBEFD) CONTACTB, "
                  "cast(SUM(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(SUM(LPC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, "
                  "cast(SUM(LPC." + tributo + ") as numeric(14,2)) " + tributo + " ";
  s += kFromC600;
  s += "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += AEstab;
  s += "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += kModelosC600;
  s += "GROUP BY " + grupo + ", " + cst + " ";
  s += "ORDER BY " + grupo;
  return s;
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC601(const TParans& AParans) {
  return SqlC601C605(Estab(AParans, "L"), true, AMemoria);
}
TEMPLATE std::string TRepoC::GetSqlC605(const TParans& AParans) {
  return SqlC601C605(Estab(AParans, "L"), false, false);
}

TEMPLATE std::string TRepoC::GetSqlC609(const TParans& AParans) {
  std::string s =
      "SELECT DISTINCT L.CDMODELO, M.CODIGORAIS, L.SERIENF, L.SUBSERIENF, SP.CODIGOCONSUMO, L.DATALCTOFIS, "
      "PR.NUMPROCREF, PR.INDPROCREF "
      "FROM LCTOFISSAI L "
      "JOIN LCTOFISSAIPRODUTO LP ON LP.CODIGOEMPRESA = L.CODIGOEMPRESA AND LP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
      "JOIN RELACPROCESREFPRODUTO RP ON RP.CODIGOEMPRESA = LP.CODIGOEMPRESA AND RP.CODIGOPRODUTO = LP.CODIGOPRODUTO "
      "JOIN PROCESREFERENC PR ON PR.CODIGOEMPRESA = RP.CODIGOEMPRESA AND PR.NUMPROCREF = RP.NUMPROCREF "
      "JOIN PESSOA P ON P.CODIGOPESSOA = L.CODIGOPESSOA "
      "JOIN MUNICIPIO M ON M.SIGLAESTADO = P.SIGLAESTADO AND M.CODIGOMUNIC = P.CODIGOMUNIC "
      "LEFT JOIN LCTOFISSAISPEDC500 SP ON SP.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "AND SP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI ";
  s += "WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += Estab(AParans, "L");
  s += "AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += "AND L.DATALCTOFIS BETWEEN PR.DATAINICIAL AND PR.DATAFINAL ";
  s += kModelosC600;
  s += "ORDER BY L.CDMODELO, M.CODIGORAIS, L.SERIENF, L.SUBSERIENF, SP.CODIGOCONSUMO, L.DATALCTOFIS";
  return s;
}

// ------------------------------------------------------------------ C860 a C890 (SAT)

namespace {

const char* kFromSAT =
    "FROM LCTOFISSAI L "
    "JOIN EQUIPAMENTOSAT E ON E.CODIGOEMPRESA = L.CODIGOEMPRESA AND E.CODIGOESTAB = L.CODIGOESTAB "
    "AND E.CODIGOSAT = L.CODIGOSAT ";

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC860(const TParans& AParans) {
  std::string s = "select L.DATALCTOFIS, E.NUMEROSERIESAT, min(L.NUMERONF) NUMERONF, max(L.NUMERONFFINAL) NUMERONFFINAL ";
  s += kFromSAT;
  s += "where L.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(AParans, "L");
  s += "and L.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and L.CDMODELO = '59' ";
  s += "group by E.NUMEROSERIESAT, L.DATALCTOFIS ";
  s += "order by L.DATALCTOFIS, E.NUMEROSERIESAT";
  return s;
}

namespace {

template <class P>
std::string SqlC870C880(const P& p, bool APorQuantidade) {
  const std::string cfop = "SUBSTR(cast(LP.CODIGOCFOP as varchar(10)), 1, 4)";
  std::string s = "select L.DATALCTOFIS, E.NUMEROSERIESAT, P.REFERENPRODUTO, " + cfop +
                  " CODIGOCFOP, PC.CDSITUATRIBUTPIS, PC.ALIQPIS, PC.CDSITUATRIBUTCOFINS, PC.ALIQCOFINS, "
                  "PC.CONTACTBEFD CONTACTB, "
                  "cast(sum(LP.VALORTOTAL) as numeric(14,2)) VALORTOTAL, "
                  "cast(sum(LP.VALORDESCONTO) as numeric(14,2)) VALORDESCONTO, "
                  "cast(sum(PC.BASECALCULOPISCOFINS) as numeric(14,2)) BASECALCULOPISCOFINS, ";
  s += APorQuantidade ? "cast(sum(PC.QUANTIDADE) as numeric(14,2)) QUANTIDADE, "
                      : "cast(sum(PC.RECEITAPISCOFINS) as numeric(14,2)) RECEITAPISCOFINS, ";
  s += "cast(sum(PC.VALORPIS) as numeric(14,2)) VALORPIS, cast(sum(PC.VALORCOFINS) as numeric(14,2)) VALORCOFINS ";
  s += kFromSAT;
  s += "join LCTOFISSAIPRODUTO LP on LP.CODIGOEMPRESA = L.CODIGOEMPRESA and LP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
       "join PRODUTO P on P.CODIGOEMPRESA = LP.CODIGOEMPRESA and P.CODIGOPRODUTO = LP.CODIGOPRODUTO "
       "join LCTOFISSAIPISCOFINS PC on PC.CODIGOEMPRESA = LP.CODIGOEMPRESA "
       "and PC.CHAVELCTOFISSAI = LP.CHAVELCTOFISSAI and PC.CODIGOPRODUTO = LP.CODIGOPRODUTO and PC.SEQ = LP.SEQ ";
  s += "where L.CODIGOEMPRESA = :pCodigoEmpresa ";
  s += Estab(p, "L");
  s += "and L.DATALCTOFIS between :pDataInicial and :pDataFinal ";
  s += "and L.CDMODELO = '59' ";
  s += APorQuantidade ? "and PC.QUANTIDADE > 0 " : "and PC.QUANTIDADE = 0 ";
  s += "group by L.DATALCTOFIS, E.NUMEROSERIESAT, P.REFERENPRODUTO, " + cfop +
       ", PC.CDSITUATRIBUTPIS, PC.ALIQPIS, PC.CDSITUATRIBUTCOFINS, PC.ALIQCOFINS, PC.CONTACTBEFD ";
  s += "order by L.DATALCTOFIS, E.NUMEROSERIESAT";
  return s;
}

}  // namespace

TEMPLATE std::string TRepoC::GetSqlC870(const TParans& AParans) { return SqlC870C880(AParans, false); }
TEMPLATE std::string TRepoC::GetSqlC880(const TParans& AParans) { return SqlC870C880(AParans, true); }

TEMPLATE std::string TRepoC::GetSqlC890(const TParans&) {
  // Sem filtro de estabelecimento: empresa, período e modelo vão no próprio texto.
  std::string s =
      "select L.DATALCTOFIS, E.NUMEROSERIESAT, C.NUMPROC, P.INDPROCREF "
      "from LCTOFISSAI L "
      "join EQUIPAMENTOSAT E on E.CODIGOEMPRESA = L.CODIGOEMPRESA and E.CODIGOESTAB = L.CODIGOESTAB "
      "and E.CODIGOSAT = L.CODIGOSAT "
      "join LCTOFISSAISPEDC111 C on C.CODIGOEMPRESA = L.CODIGOEMPRESA and C.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
      "join PROCESREFERENC P on P.CODIGOEMPRESA = C.CODIGOEMPRESA and P.NUMPROCREF = C.NUMPROC "
      "where L.CODIGOEMPRESA = :CODIGOEMPRESA and L.DATALCTOFIS between :DATAINICIAL and :DATAFINAL "
      "and L.CDMODELO = '59' ";
  s += GetFiltroIndProcRef("P.INDPROCREF");
  s += "order by L.DATALCTOFIS, E.NUMEROSERIESAT";
  return s;
}

// ------------------------------------------------------------------ carregadores

#define CARREGAR(REG, TIPO, VALORES)                                                  \
  TEMPLATE void TRepoC::CarregarDados##REG(TIPO*& ADataSet, const TParans& AParans) { \
    CarregarDados(ADataSet, AParans, GetSql##REG(AParans), VALORES(AParans));         \
  }

CARREGAR(C100, TDataSet, GetParamsEstabData)
CARREGAR(C110, TnClientDataSet, GetParamsEstabData)
CARREGAR(C111, TnClientDataSet, GetParamsEstabData)
CARREGAR(C120, TnClientDataSet, GetParamsEstabData)
CARREGAR(C175, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(C180, TDataSet, GetParamsEstabData)
CARREGAR(C188, TnClientDataSet, GetParamsEstabData)
CARREGAR(C190, TDataSet, GetParamsEstabData)
CARREGAR(C191_195, TnClientDataSet, GetParamsEstabData)
CARREGAR(C198, TnClientDataSet, GetParamsEstabData)
CARREGAR(C199, TnClientDataSet, GetParamsEstabData)
CARREGAR(C380, TDataSet, GetParamsEstabData)
CARREGAR(C395, TDataSet, GetParamsEstabData)
CARREGAR(C396, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(C400, TDataSet, GetParamsEstabData)
CARREGAR(C405, TDataSet, GetParamsEstabDataImpNull)
CARREGAR(C481, TnClientDataSet, GetParamsEstabDataImpNull)
CARREGAR(C485, TnClientDataSet, GetParamsEstabDataImpNull)
CARREGAR(C490, TDataSet, GetParamsEstabData)
CARREGAR(C491, TDataSet, GetParamsEstabDataNull)
CARREGAR(C495, TDataSet, GetParamsEstabDataNull)
CARREGAR(C500, TDataSet, GetParamsEstabData)
CARREGAR(C501, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(C505, TnClientDataSet, GetParamsEstabDataNull)
CARREGAR(C509, TnClientDataSet, GetParamsEstabData)
CARREGAR(C600, TDataSet, GetParamsEstabData)
CARREGAR(C601, TnClientDataSet, GetParamsEstabData)
CARREGAR(C605, TnClientDataSet, GetParamsEstabData)
CARREGAR(C609, TnClientDataSet, GetParamsEstabData)
CARREGAR(C860, TnClientDataSet, GetParamsEstabData)
CARREGAR(C870, TnClientDataSet, GetParamsEstabData)
CARREGAR(C880, TnClientDataSet, GetParamsEstabData)
CARREGAR(C890, TnClientDataSet, GetParamsEmpData)
#undef CARREGAR

TEMPLATE void TRepoC::CarregarDadosC181_185(TnClientDataSet*& ADataSet, const TParans& AParans) {
  if constexpr (AMemoria)
    CarregarDados(ADataSet, AParans, GetSqlC181_185(AParans),
                  TnArqRepositorioSPEDPisCofinsBlocoCMemoria::GetParamsEstabDataLCO(AParans));
  else
    CarregarDados(ADataSet, AParans, GetSqlC181_185(AParans), GetParamsEstabData(AParans));
}

TEMPLATE void TRepoC::CarregarDadosC489_499(TnClientDataSet*& ADataSet, const TParans& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlProcRefC489_499(AParans), GetParamsEmpData(AParans));
}

TEMPLATE void TRepoC::CarregarDadosC381(TDataSet*& ADataSet, const TParans& AParans, const TParams& AValores) {
  CarregarDados(ADataSet, AParans, GetSqlC381(AParans), AValores);
}

TEMPLATE void TRepoC::CarregarDadosC385(TDataSet*& ADataSet, const TParans& AParans, const TParams& AValores) {
  CarregarDados(ADataSet, AParans, GetSqlC385(AParans), AValores);
}

template class TnArqRepositorioSPEDPisCofinsBlocoCTextos<TnParansBlocoC, false>;
template class TnArqRepositorioSPEDPisCofinsBlocoCTextos<TParansMem, true>;

#undef TEMPLATE
#undef TRepoC

void TnArqRepositorioSPEDPisCofinsBlocoC::CarregarDadosC170(TnClientDataSet*& ADataSet,
                                                             const TnParansBlocoC& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlC170(AParans), GetParamsEstabDataNull(AParans));
}

