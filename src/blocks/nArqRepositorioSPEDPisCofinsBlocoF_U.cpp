#include "blocks/nArqRepositorioSPEDPisCofinsBlocoF_U.h"

#include <algorithm>

#include "host/ClientDataSet.h"
#include "host/FiltroEstab.h"
#include "host/FisFuncoes.h"
#include "base/Format.h"
#include "host/Host.h"
#include "base/Nutil.h"
#include "host/Nutilinclusao.h"
#include "host/OpcaoEFD.h"

namespace {

using TRepoF = TnArqRepositorioSPEDPisCofinsBlocoF;

TVariant Texto(const std::string& s) { return TVariant{s}; }
TVariant Inteiro(int64_t n) { return TVariant{n}; }

bool EhEntrada(const TnParansBlocoF& p) { return p.TipoMovimento == 0; }

// Fragmento de estabelecimento do host (forma longa), usado onde o texto lê lançamentos.
std::string FiltroEstabHost(const TnParansBlocoF& p, const std::string& AApelido) {
  return TnArqRepositorioSPEDPisCofinsFiltroEstab::GetFiltroEstab(std::to_string(p.CodigoEmpresa), AApelido,
                                                                  p.CodigoEstab, p.TipoMovimento, false,
                                                                  p.EstabSCP);
}

// CSTs que não geram crédito de bens do ativo.
const char* const kCSTsForaCredito = "(70, 71, 72, 73, 74, 75, 98, 99)";

// Junções de processo das consultas F509/F519/F559/F569: por produto e por documento.
const char* const kJuncaoProcessoProduto =
    " JOIN RELACPROCESREFPRODUTO PRO ON PRO.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
    "AND PRO.CODIGOPRODUTO = LPC.CODIGOPRODUTO "
    " JOIN PROCESREFERENC PR ON PR.CODIGOEMPRESA = PRO.CODIGOEMPRESA AND PR.NUMPROCREF = PRO.NUMPROCREF ";
const char* const kJuncaoProcessoDocumento =
    " JOIN LCTOFISSAISPEDC111 PRO ON PRO.CODIGOEMPRESA = L.CODIGOEMPRESA "
    "AND PRO.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
    " JOIN PROCESREFERENC PR ON PR.CODIGOEMPRESA = PRO.CODIGOEMPRESA AND PR.NUMPROCREF = PRO.NUMPROC ";

std::string UniaoProcessos(const std::string& AModelo) {
  return Format(AModelo, {Texto(kJuncaoProcessoProduto)}) + " UNION " +
         Format(AModelo, {Texto(kJuncaoProcessoDocumento)});
}


}  // namespace

// ---------------------------------------------------------------- estabelecimento

bool TRepoF::EhEstabInclusion(const std::string& ACodigo) {
  return EstabComoInteiro(Nutil::Aparar(ACodigo)) == 0;
}

std::string TRepoF::GetFiltroEstab(const TnParansBlocoF& AParans, const std::string& AColuna) {
  if (EhEstabInclusion(AParans.CodigoEstab))
    return Nutilinclusao::FilterInterval({AColuna}, Nutil::Aparar(AParans.CodigoEstab), {tiExInclusao}, true,
                                         kFiltroNumero) +
           " ";
  return " and " + AColuna + " = :pCodigoEstab ";
}

std::string TRepoF::GetFiltroEstabSCP(const TnParansBlocoF& AParans) {
  if (!(AParans.EstabSCP && AParans.TipoMovimento == 1)) return "";
  return Format(
      " AND EXISTS (SELECT 1 FROM ESTAB E WHERE E.CODIGOEMPRESA = %s AND E.SOCIEDADECONTAPARTICIPACAO = %s AND "
      "E.CODIGOESTAB = D.CODIGOESTAB)",
      {Texto(Nutil::ValorParaSQL(Inteiro(AParans.CodigoEmpresa))), Texto(Nutil::ValorParaSQL(Texto("1")))});
}

TParams TRepoF::GetParamsEstabData(const TnParansBlocoF& AParans) {
  if (EhEstabInclusion(AParans.CodigoEstab))
    return {Inteiro(AParans.CodigoEmpresa), VarDate(DateOf(AParans.DataInicial)), VarDate(DateOf(AParans.DataFinal))};
  return {Inteiro(AParans.CodigoEmpresa), Inteiro(EstabComoInteiro(AParans.CodigoEstab)),
          VarDate(DateOf(AParans.DataInicial)), VarDate(DateOf(AParans.DataFinal))};
}

TParams TRepoF::MontarParamEstab(const std::vector<TVariant>& AValores, int AHighIndex, const std::string& ACodigo,
                                int APosicao) {
  // AHighIndex é o último índice válido de AValores (o "High" do vetor aberto).
  const size_t n = std::min(AValores.size(), static_cast<size_t>(std::max(AHighIndex + 1, 0)));
  TParams r(AValores.begin(), AValores.begin() + static_cast<std::ptrdiff_t>(n));
  if (!EhEstabInclusion(ACodigo)) {
    const size_t pos = std::min(static_cast<size_t>(std::max(APosicao, 0)), r.size());
    r.insert(r.begin() + static_cast<std::ptrdiff_t>(pos), Inteiro(EstabComoInteiro(ACodigo)));
  }
  return r;
}

TParams TRepoF::GetParamsF130(const TnParansBlocoF& p) {
  const std::vector<TVariant> v{VarDate(DateOf(p.DataFinal)), Inteiro(p.CodigoEmpresa), VarDate(DateOf(p.DataInicial))};
  return MontarParamEstab(v, 2, p.CodigoEstab, 0);
}

TParams TRepoF::GetParamsF150(const TnParansBlocoF& p) {
  // O estoque de abertura é lançado em doze parcelas: lê desde onze meses antes.
  const std::vector<TVariant> v{Inteiro(p.CodigoEmpresa), VarDate(DateOf(IncMonth(p.DataInicial, -11))),
                                VarDate(DateOf(p.DataFinal))};
  return MontarParamEstab(v, 2, p.CodigoEstab, 1);
}

TParams TRepoF::GetParamsF600(const TnParansBlocoF& p) {
  const std::vector<TVariant> v{VarDate(DateOf(p.DataInicial)), VarDate(DateOf(p.DataFinal)), Inteiro(p.CodigoEmpresa)};
  return MontarParamEstab(v, 2, p.CodigoEstab, 3);
}

// ---------------------------------------------------------------- expressões

std::string TRepoF::GetNaoEhDetalhada(const TnParansBlocoF& AParans) {
  // A opção é a da empresa do registro, não a da última consulta ao objeto de opções, que
  // volta como estava.
  auto& opcao = ControleOpcaoEFD();
  const int empresa = opcao.GetCodigoEmpresa(), estab = opcao.GetCodigoEstab();
  const TDateTime data = opcao.GetData();
  opcao.Configurar(AParans.CodigoEmpresa, TnUtilOpcaoEFD::CodigoEstabDeTexto(AParans.CodigoEstab),
                   AParans.DataInicial);
  bool consolidada = false;
  try {
    // Sem opção da EFD não há escolha de geração consolidada.
    consolidada = opcao.GetEhOptanteEFD() && opcao.GetGeracaoF500F525();
  } catch (...) {
    opcao.Configurar(empresa, estab, data);
    throw;
  }
  opcao.Configurar(empresa, estab, data);
  return consolidada ? " , '57' " : "";
}

std::string TRepoF::GetFiltroCFOP(const TnParansBlocoF& AParans, const std::string& m, const std::string& c) {
  return " CASE WHEN " + m + " IN ('97', '98', '99'" + GetNaoEhDetalhada(AParans) + ") THEN 0 " + "      WHEN " + m +
         " IN ('2D', '3', '3A', '3B', '55', '65') AND F.SIGLAESTADO = 'DF' " + "       AND CAST(SUBSTR(cast(" + c +
         " as varchar(10)), 1, 4) AS INTEGER) IN (9101, 9102, 9103, 9104) " + "      THEN 5933 " +
         " ELSE CAST(SUBSTR(cast(" + c + " as varchar(10)), 1, 4) AS INTEGER) END ";
}

std::string TRepoF::GetFiltroCDModeloF500(const std::string& m) {
  return " CASE  WHEN " + m + " = '97' THEN '99' " + " WHEN " + m + " = '98' THEN '99' " + " WHEN " + m +
         " = '99' THEN '98' " + " WHEN " + m + " IN ('3', '3A', '3B') AND F.SIGLAESTADO = 'DF' THEN '1'  " +
         " ELSE " + m + " END ";
}

std::string TRepoF::GetFiltroPorAliq(const std::string& cst) {
  return "(" + cst + " IN (01, 02, 04, 05, 06, 07, 08, 09, 49, 99))";
}

std::string TRepoF::GetFiltroPorQtde(const std::string& cst, const std::string& debito) {
  return "(" + cst + " IN (03, 05, 06, 07, 08, 09, 49, 99) AND " + debito + " = '4.3.05.53') ";
}

std::string TRepoF::GetSqlContaCTBLCTO(const std::string& ARegra, const std::string& AColunaConta) {
  const std::string regra = Nutil::ValorParaSQL(Texto(ARegra));
  // A coluna da conta entra como coluna (nome escrito aqui, nunca texto do usuário).
  const std::string& conta = AColunaConta;
  return "SELECT SPTL.CONTACTBLCTO  from PATTABELACTBLCTO SPTL"
         " where SPTL.NATUREZA = 1"
         " and UPPER(SPTL.REGRA) = UPPER(" + regra + ")"
         " and SPTL.CONTACTB = " + conta +
         " and SPTL.SEQ = (SELECT MIN(SPT2.SEQ) from PATTABELACTBLCTO SPT2"
         " where SPT2.NATUREZA = 1 and UPPER(SPT2.REGRA) = UPPER(" + regra + ")"
         " and SPT2.CONTACTB = " + conta + ")";
}

std::string TRepoF::GetSubSelectTotalParcelasF500(const TnParansBlocoF& AParans) {
  // Total das parcelas de cada duplicata com pagamento no período (base do rateio).
  return " (SELECT DPA.CODIGOEMPRESA, DPA.CODIGOESTAB, DPA.CHAVEDUPLICATASAI, "
         "SUM(CAST(DPA.VALORPARCELA AS NUMERIC(15,5))) VALORPARCELA "
         " FROM DUPLICATASAIPARCELA DPA "
         " WHERE EXISTS (SELECT 1 FROM duplicatasaipgto PG "
         " WHERE PG.CODIGOEMPRESA = DPA.CODIGOEMPRESA AND PG.CODIGOESTAB = DPA.CODIGOESTAB "
         " AND PG.CHAVEDUPLICATASAI = DPA.CHAVEDUPLICATASAI "
         " AND PG.CODIGOEMPRESA = :CODIGOEMPRESA " +
         GetFiltroEstab(AParans, "PG.CODIGOESTAB") +
         " AND PG.DATAPGTO BETWEEN :DATAINICIAL AND :DATAFINAL) "
         " GROUP BY DPA.CODIGOEMPRESA, DPA.CODIGOESTAB, DPA.CHAVEDUPLICATASAI) DP ";
}

// ---------------------------------------------------------------- F100

std::string TRepoF::GetSqlF100(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT LE.CHAVELCTOFIS%2:s CHAVE, CAST(0 AS INTEGER) INDOPER, LE.CODIGOPESSOA CODPART, LE.NUMERONF, "
      "LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF, PR.REFERENPRODUTO CODITEM, PR.CODIGOCENTROCUSTO CODCCUS, "
      "LP.DATALCTOFIS DTOPER, CAST(SUM(LP.VALORTOTAL) AS NUMERIC(14,2)) VLOPER, LPC.CDSITUATRIBUTPIS CSTPIS, "
      "LPC.ALIQPIS, LPC.CDSITUATRIBUTCOFINS CSTCOFINS, LPC.ALIQCOFINS, LPC.%1:s NATBCCREDCOFINS, "
      "LPC.%0:s NATBCCREDPIS, P.TIPOINSCR, P.INSCRFEDERAL, "
      "CAST(SUBSTR(CAST(LPC.CODIGOCFOP AS VARCHAR(10)), 1, 4) AS INTEGER) CODIGOCFOP, "
      "CAST(SUM(LPC.BASECALCULOPISCOFINS) AS NUMERIC(14,2)) VLBCPIS, "
      "CAST(SUM(LPC.VALORPIS) AS NUMERIC(14,2)) VLPIS, "
      "CAST(SUM(LPC.BASECALCULOPISCOFINS) AS NUMERIC(14,2)) VLBCCOFINS, "
      "CAST(SUM(LPC.VALORCOFINS) AS NUMERIC(14,2)) VLCOFINS, "
      "CAST(LPC.CONTACTBEFD AS VARCHAR(10)) CODCTA, CAST('' AS VARCHAR(255)) DESCRICAO, "
      "CAST('LCTOFIS' AS VARCHAR(7)) ORIGEM "
      " FROM LCTOFIS%2:sPISCOFINS LPC "
      " JOIN LCTOFIS%2:sPRODUTO LP ON LP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
      "AND LP.CHAVELCTOFIS%2:s = LPC.CHAVELCTOFIS%2:s AND LP.CODIGOPRODUTO = LPC.CODIGOPRODUTO AND LP.SEQ = LPC.SEQ "
      " JOIN LCTOFIS%2:s LE ON LE.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
      "AND LE.CHAVELCTOFIS%2:s = LPC.CHAVELCTOFIS%2:s AND LE.CDMODELO IN ('98', '97') "
      " JOIN PRODUTO PR ON PR.CODIGOEMPRESA = LP.CODIGOEMPRESA AND PR.CODIGOPRODUTO = LP.CODIGOPRODUTO "
      " JOIN PESSOA P ON P.CODIGOPESSOA = LE.CODIGOPESSOA "
      " WHERE LE.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += FiltroEstabHost(AParans, "LE");
  s += " AND LE.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " GROUP BY LE.CHAVELCTOFIS%2:s, LE.CODIGOPESSOA, LE.NUMERONF, LE.ESPECIENF, LE.SERIENF, LE.SUBSERIENF, "
       "PR.REFERENPRODUTO, PR.CODIGOCENTROCUSTO, LP.DATALCTOFIS, LPC.CDSITUATRIBUTPIS, LPC.ALIQPIS, "
       "LPC.CDSITUATRIBUTCOFINS, LPC.ALIQCOFINS, LPC.%1:s, LPC.%0:s, P.TIPOINSCR, P.INSCRFEDERAL, "
       "CAST(SUBSTR(CAST(LPC.CODIGOCFOP AS VARCHAR(10)), 1, 4) AS INTEGER), LPC.CONTACTBEFD ";
  s += "%3:s";
  s += " UNION ALL "
       "SELECT 0 CHAVE, D.INDOPER, D.CODIGOPESSOA CODPART, -1 NUMERONF, CAST('' AS VARCHAR(4)) ESPECIENF, "
       "CAST('' AS VARCHAR(4)) SERIENF, CAST('' AS VARCHAR(3)) SUBSERIENF, PR.REFERENPRODUTO CODITEM, "
       "D.CODIGOCENTROCUSTO CODCCUS, D.DATALCTOFIS DTOPER, CAST(D.VALOROPER as numeric(14,2)) VLOPER, "
       "D.CST CSTPIS, D.ALIQPIS, D.CSTCOFINS, D.ALIQCOFINS, D.%5:s NATBCCREDCOFINS, D.%6:s NATBCCREDPIS, "
       "P.TIPOINSCR, P.INSCRFEDERAL, CASE WHEN D.ORIGEMCREDITO = 1 THEN ";
  s += Nutil::ValorParaSQL(Inteiro(3102)) + " ELSE " + Nutil::ValorParaSQL(Inteiro(0)) + " END CODIGOCFOP, ";
  s += "CAST(D.BASECALCULO AS NUMERIC(14,2)) VLBCPIS, CAST(D.VALORPIS AS NUMERIC(14,2)) VLPIS, "
       "CAST(D.BASECALCULO AS NUMERIC(14,2)) VLBCCOFINS, CAST(D.VALORCOFINS AS NUMERIC(14,2)) VLCOFINS, "
       "SUBSTR(D.CONTACTB, 1, 10) CODCTA, D.DESCRICAO, CAST('EFDF100' as varchar(7)) ORIGEM "
       " FROM EFDF100DEMAISDOC D "
       " LEFT JOIN PRODUTO PR ON PR.CODIGOEMPRESA = D.CODIGOEMPRESA AND PR.CODIGOPRODUTO = D.CODIGOPRODUTO "
       " LEFT JOIN PESSOA P ON P.CODIGOPESSOA = D.CODIGOPESSOA "
       " WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "D.CODIGOESTAB");
  s += " AND D.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND D.INDOPER IN (%4:s) ";
  s += GetFiltroEstabSCP(AParans);
  // Sete argumentos: colunas de natureza da base, sufixo, HAVING e indicadores de operação.
  if (EhEntrada(AParans))
    return Format(s, {Texto("TIPOCREDITO"), Texto("TIPOCREDITOPIS"), Texto("ENT"),
                      Texto("HAVING (SUM(LPC.VALORPIS) + SUM(LPC.VALORCOFINS)) > 0"), Texto("0"),
                      Texto("TIPOCREDITOCOFINS"), Texto("TIPOCREDITO")});
  return Format(s, {Texto("TIPODEBITO"), Texto("TIPODEBITOPIS"), Texto("SAI"), Texto(""), Texto("1, 2"),
                    Texto("TIPODEBITOCOFINS"), Texto("TIPODEBITO")});
}

std::string TRepoF::GetSqlOBSF100(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT L.CHAVELCTOFIS%1:s CHAVE, %0:s TIPOMOV, L.CODIGOOBS, S.DESCROBS OBS, L.COMPLOBS complemento "
      " from lctofis%1:scompl L "
      " join SPEDFIS0460 S on S.CODIGOOBS = L.CODIGOOBS "
      " where L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "L.CODIGOESTAB");
  s += " and L.DATALCTOFIS between :DATAINICIAL and :DATAFINAL ";
  s += " and L.CODIGOOPERACAOFIS = %2:s ";
  return Format(s, {Texto("0"), Texto("ENT"), Texto("16003")}) + " union " +
         Format(s, {Texto("1"), Texto("SAI"), Texto("16003")});
}

std::string TRepoF::GetSqlF111(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT LS.DATALCTOFIS, L.CODIGOPESSOA, L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF, LS.NUMPROC, "
      "P.INDPROCREF "
      " FROM LCTOFIS%0:sSPEDC111 LS "
      " JOIN LCTOFIS%0:s L ON L.CODIGOEMPRESA = LS.CODIGOEMPRESA AND L.CHAVELCTOFIS%0:s = LS.CHAVELCTOFIS%0:s "
      " JOIN PROCESREFERENC P ON P.CODIGOEMPRESA = LS.CODIGOEMPRESA AND P.NUMPROCREF = LS.NUMPROC "
      " WHERE LS.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "LS.CODIGOESTAB");
  s += " AND LS.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  // Só os documentos que o F100 lê dos lançamentos.
  s += " AND L.CDMODELO IN ('98', '97') ";
  s += " ORDER BY LS.DATALCTOFIS, ";
  if (EhEntrada(AParans)) s += "L.CODIGOPESSOA, ";
  s += "L.NUMERONF, L.ESPECIENF, L.SERIENF, L.SUBSERIENF ";
  return Format(s, {Texto(SufixoF(AParans))});
}

// ---------------------------------------------------------------- F120 / F130 (ativo)

std::string TRepoF::GetSqlF120(const TnParansBlocoF& AParans) {
  const std::string contaEnc = "(" + GetSqlContaCTBLCTO("VlrEnc", "ECTB.CONTACTB") + ")";
  const std::string contaEncSoc = "(" + GetSqlContaCTBLCTO("VlrEncSoc", "ECTB.CONTACTB") + ")";
  std::string s =
      "SELECT C.CODIGOESTAB, C.NUMEROBEM, B.DESCRICAOBEM, B.ORIGEMBEM, B.INDUTILBEM, CF.TIPODACONCREDITO, "
      "CF.TIPOCREDITO, C.PERIODO, C.CSTPIS, C.ALIQPIS, C.CSTCOFINS, C.ALIQCOFINS, "
      "CAST(C.QUOTAMENSAL AS NUMERIC(14,2)) VLOPERDEP, CAST(C.VLRBCCREDITO AS NUMERIC(14,2)) VLBCCRED, "
      "CAST(C.CREDITOPIS AS NUMERIC(14,2)) VLPIS, CAST(C.CREDITOCOFINS AS NUMERIC(14,2)) VLCOFINS, "
      "ECTB.CODIGOCENTROCUSTO, ECTB.CONTACTB, "
      "CASE WHEN " + contaEnc + " IS NOT NULL THEN " + contaEnc + " ELSE " + contaEncSoc + " END CONTACTBLCTO "
      " FROM PATCREDITODACON C "
      " JOIN patcfgdacon CF ON CF.CODIGOEMPRESA = C.CODIGOEMPRESA AND CF.NUMEROBEM = C.NUMEROBEM "
      "AND CF.TIPODACONCREDITO IN (1, 6, 7) "
      "AND CF.DATAINICIAL <= C.PERIODO AND (CF.DATAFINAL IS NULL OR CF.DATAFINAL >= C.PERIODO) "
      " JOIN patbem B ON B.CODIGOEMPRESA = C.CODIGOEMPRESA AND B.NUMEROBEM = C.NUMEROBEM "
      " LEFT JOIN (SELECT CC.CODIGOEMPRESA, CC.NUMEROBEM, MAX(CC.CODIGOCENTROCUSTO) CODIGOCENTROCUSTO, "
      "MAX(CC.CONTACTB) CONTACTB FROM PATBEMCONTACONTABIL CC "
      " WHERE CC.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "CC.CODIGOESTAB");
  // Vale no período a linha não substituída até o início e iniciada até o fim.
  s += " AND NOT EXISTS (SELECT 1 FROM PATBEMCONTACONTABIL CC3 WHERE CC3.CODIGOEMPRESA = CC.CODIGOEMPRESA "
       "AND CC3.CODIGOESTAB = CC.CODIGOESTAB AND CC3.NUMEROBEM = CC.NUMEROBEM "
       "AND CC3.DATAINICIAL > CC.DATAINICIAL AND CC3.DATAINICIAL <= :DATAINICIAL) "
       " AND CC.DATAINICIAL <= :DATAFINAL "
       " GROUP BY CC.CODIGOEMPRESA, CC.NUMEROBEM) ECTB ON ECTB.CODIGOEMPRESA = C.CODIGOEMPRESA "
       "AND ECTB.NUMEROBEM = C.NUMEROBEM "
       " WHERE C.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "C.CODIGOESTAB");
  s += " AND C.PERIODO BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND C.CSTPIS NOT IN " + std::string(kCSTsForaCredito) + " AND C.CSTCOFINS NOT IN " + kCSTsForaCredito;
  s += " ORDER BY C.CODIGOESTAB, C.NUMEROBEM ";
  return s;
}

std::string TRepoF::GetSqlF130(const TnParansBlocoF& AParans) {
  // Valores: [estab, fim, empresa, início] — o estabelecimento vem antes de tudo.
  std::string s =
      "SELECT BC.CODIGOESTAB, B.NUMEROBEM, B.DESCRICAOBEM, B.ORIGEMBEM, B.INDUTILBEM, B.DATAAQUISICAO, "
      "BD.TIPODACONCREDITO, BD.TIPOCREDITO, BD.NUMEROPARCELAS, BC.PERIODO, "
      "CAST(B.VALORAQUISICAO AS NUMERIC(14,2)) VALORAQUISICAO, BC.CSTPIS, BC.ALIQPIS, BC.CSTCOFINS, "
      "BC.ALIQCOFINS, CAST(BC.QUOTAMENSAL AS NUMERIC(14,2)) QUOTAMENSAL, "
      "CAST(BC.VLRBCCREDITO AS NUMERIC(14,2)) VLBCCRED, CAST(BC.CREDITOPIS AS NUMERIC(14,2)) VLPIS, "
      "CAST(BC.CREDITOCOFINS AS NUMERIC(14,2)) VLCOFINS, ECTB.CODIGOCENTROCUSTO, ECTB.CONTACTB "
      " FROM PATBEM B "
      " LEFT JOIN (SELECT CC.CODIGOEMPRESA, CC.CODIGOESTAB, CC.NUMEROBEM, CC.CODIGOCENTROCUSTO, CC.CONTACTB "
      " FROM PATBEMCONTACONTABIL CC WHERE 1 = 1 ";
  s += GetFiltroEstab(AParans, "CC.CODIGOESTAB");
  s += " AND CC.DATAINICIAL = (SELECT MAX(CC2.DATAINICIAL) FROM PATBEMCONTACONTABIL CC2 "
       " WHERE CC2.CODIGOEMPRESA = CC.CODIGOEMPRESA AND CC2.CODIGOESTAB = CC.CODIGOESTAB "
       "AND CC2.NUMEROBEM = CC.NUMEROBEM ";
  s += GetFiltroEstab(AParans, "CC2.CODIGOESTAB");
  // Uma linha de conta por bem: a do estabelecimento do bem, mesmo com outras na lista.
  s += " AND CC2.DATAINICIAL <= :DATAFINAL)) ECTB ON ECTB.CODIGOEMPRESA = B.CODIGOEMPRESA "
       "AND ECTB.NUMEROBEM = B.NUMEROBEM AND ECTB.CODIGOESTAB = B.CODIGOESTAB ";
  s += GetFiltroEstab(AParans, "ECTB.CODIGOESTAB");
  s += " JOIN PATCFGDACON BD ON BD.CODIGOEMPRESA = B.CODIGOEMPRESA AND BD.NUMEROBEM = B.NUMEROBEM "
       " JOIN PATCREDITODACON BC ON BC.CODIGOEMPRESA = B.CODIGOEMPRESA AND BC.NUMEROBEM = B.NUMEROBEM "
       " WHERE B.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "B.CODIGOESTAB");
  s += " AND BD.TIPODACONCREDITO NOT IN (1, 6, 7) ";
  s += " AND BD.DATAINICIAL <= :DATAFINAL AND (BD.DATAFINAL IS NULL OR BD.DATAFINAL >= :DATAINICIAL) ";
  s += " AND BC.PERIODO BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += GetFiltroEstab(AParans, "BC.CODIGOESTAB");
  s += " AND BC.CSTPIS NOT IN " + std::string(kCSTsForaCredito) + " AND BC.CSTCOFINS NOT IN " + kCSTsForaCredito;
  s += " ORDER BY BC.CODIGOESTAB, B.NUMEROBEM ";
  return s;
}

// ---------------------------------------------------------------- F150

std::string TRepoF::GetSqlF150(const TnParansBlocoF& AParans) {
  // A opção é lida para a empresa do registro; o objeto de opções volta como estava.
  auto& opcao = ControleOpcaoEFD();
  const int empresa = opcao.GetCodigoEmpresa(), estab = opcao.GetCodigoEstab();
  const TDateTime data = opcao.GetData();
  opcao.Configurar(AParans.CodigoEmpresa, TnUtilOpcaoEFD::CodigoEstabDeTexto(AParans.CodigoEstab),
                   AParans.DataInicial);
  bool optante = false;
  try {
    optante = opcao.GetEhOptanteEFD();
  } catch (...) {
    opcao.Configurar(empresa, estab, data);
    throw;
  }
  opcao.Configurar(empresa, estab, data);
  const char* tabela = optante ? "EFDCREDPRESESTOQABERT" : "LUCROREALCREDPRESESTOQABERT";
  std::string s =
      "SELECT CODIGOESTAB, DATALCTOFIS, VLRTOTEST, VLRESTIMP, VLRBCEST, VLRBCMENEST, CSTPIS, ALIQPIS, "
      "VLRCREDPIS, CSTCOFINS, ALIQCOFINS, VLRCREDCOFINS, DESCEST, CONTACTB from ";
  s += tabela;
  s += " where CODIGOEMPRESA = :pCodigoEmpresa ";
  s += GetFiltroEstab(AParans, "CODIGOESTAB");
  s += " and DATALCTOFIS between :DATAINICIAL and :DATAFINAL";
  s += " order by CODIGOESTAB, DATALCTOFIS, SEQ ";
  return s;
}

// ---------------------------------------------------------------- F200 / F205 / F210

std::string TRepoF::GetSqlF200(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT V.CODIGOESTAB, V.NUMCADIMOB, V.COMPRECEB, V.SEQUENCIA, U.INDOPER, U.UNIDIMOB, U.IDENTEMP, "
      "U.DESCUNIDIMOB, U.NUMCONT, U.CNPJCPFADQU, U.DATAOPER, U.VLTOTVEND, V.VLRECACUM, V.VLTOTREC, "
      "V.CSTPIS, V.VLBC, V.ALIQPIS, V.VLPIS, V.CSTCOFINS, V.ALIQCOFINS, V.VLCOFINS, V.TIPODEBITO, "
      "V.TIPODEBITOPIS, V.INDNATEMP "
      " FROM EFDUNIDIMOBILIARIA U "
      " JOIN EFDUNIDIMOBVENDIDA V ON V.CODIGOEMPRESA = U.CODIGOEMPRESA AND V.CODIGOESTAB = U.CODIGOESTAB "
      "AND V.NUMCADIMOB = U.NUMCADIMOB "
      " WHERE V.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "V.CODIGOESTAB");
  s += " AND V.COMPRECEB BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " ORDER BY V.CODIGOESTAB, V.NUMCADIMOB, V.COMPRECEB ";
  return s;
}

std::string TRepoF::GetSqlF205(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT I.CODIGOESTAB, I.NUMCADIMOB, I.COMPRECEB, I.SEQUENCIA, I.VLCUSINCACUANT, I.VLCUSINCPERESC, "
      "I.VLCUSINCACUTOT, I.VLEXCBCCUSINCACU, I.VLBCCUSINC, I.CSTPIS, I.ALIQPIS, I.VLCREDPISDESC, I.CSTCOFINS, "
      "I.ALIQCOFINS, I.VLCREDCOFINSDESC, I.TIPOCREDITO, I.TIPOCREDITOPIS "
      " FROM EFDUNIDIMOBCUSTOINC I "
      " WHERE I.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "I.CODIGOESTAB");
  s += " AND I.COMPRECEB BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " ORDER BY I.CODIGOESTAB, I.NUMCADIMOB, I.COMPRECEB ";
  return s;
}

std::string TRepoF::GetSqlF210(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT O.CODIGOESTAB, O.NUMCADIMOB, O.COMPRECEB, O.SEQUENCIA, O.VLCUSORC, O.VLEXC, O.VLCUSORCEXC, "
      "O.VLBCCRED, O.CSTPIS, O.ALIQPIS, O.VLCREDPISUTIL, O.CSTCOFINS, O.ALIQCOFINS, O.VLCREDCOFINSUTIL, "
      "O.TIPOCREDITO, O.TIPOCREDITOPIS "
      " FROM EFDUNIDIMOBCUSTOORC O "
      " WHERE O.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "O.CODIGOESTAB");
  s += " AND O.COMPRECEB BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " ORDER BY O.CODIGOESTAB, O.NUMCADIMOB, O.COMPRECEB, O.SEQUENCIA ";
  return s;
}

// ---------------------------------------------------------------- F500 / F510 (caixa)

std::string TRepoF::GetSqlF500RegCaixa(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT F.CST CSTPIS, F.ALIQPIS, F.CSTCOFINS, F.ALIQCOFINS, F.CONTACTB, "
      "CAST(SUM(F.BASECALCULO) AS NUMERIC(14,2)) BASECALCULO, CAST(SUM(F.VALORPIS) AS NUMERIC(14,2)) VALORPIS, "
      "CAST(SUM(F.VALORCOFINS) AS NUMERIC(14,2)) VALORCOFINS, CAST(SUM(F.VALOROPER) AS NUMERIC(14,2)) VALOROPER "
      " FROM EFDF100DEMAISDOC F "
      " WHERE F.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "F.CODIGOESTAB");
  s += " AND F.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND F.INDOPER IN (%0:s) ";
  s += " GROUP BY F.CST, F.ALIQPIS, F.CSTCOFINS, F.ALIQCOFINS, F.CONTACTB ";
  return Format(s, {Texto(EhEntrada(AParans) ? "0" : "1")});
}

std::string TRepoF::GetFromPagamentosF500(const TnParansBlocoF& AParans) {
  return " FROM duplicatasaipgto DPP "
         " JOIN duplicatasai D ON D.CODIGOEMPRESA = DPP.CODIGOEMPRESA AND D.CODIGOESTAB = DPP.CODIGOESTAB "
         "AND D.CHAVEDUPLICATASAI = DPP.CHAVEDUPLICATASAI "
         " JOIN " + GetSubSelectTotalParcelasF500(AParans) +
         " ON DP.CODIGOEMPRESA = DPP.CODIGOEMPRESA AND DP.CODIGOESTAB = DPP.CODIGOESTAB "
         "AND DP.CHAVEDUPLICATASAI = DPP.CHAVEDUPLICATASAI "
         " JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = D.CODIGOEMPRESA AND L.CHAVELCTOFISSAI = D.CHAVELCTOFISSAI "
         " JOIN lctofissaipiscofins LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
         "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
         " JOIN ESTAB F ON F.CODIGOEMPRESA = L.CODIGOEMPRESA AND F.CODIGOESTAB = L.CODIGOESTAB ";
}

// Primeiro complemento do lançamento de saída (o de menor SEQ); o bloco 1 usa o mesmo.
std::string TRepoF::GetJoinPrimeiroComplemento() {
  return " LEFT JOIN LCTOFISSAICOMPL LC ON LC.CODIGOEMPRESA = L.CODIGOEMPRESA "
         "AND LC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
         "AND LC.SEQ = (SELECT MIN(LC2.SEQ) FROM LCTOFISSAICOMPL LC2 WHERE LC2.CODIGOEMPRESA = L.CODIGOEMPRESA "
         "AND LC2.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI) ";
}

// Duplicata de parcelas zeradas fica fora do rateio (NULLIF): o PostgreSQL recusaria a
// consulta inteira pela divisão por zero.
std::string TRepoF::RateioPagamento(const std::string& AColuna, const std::string& AApelido) {
  return "SUM(CAST(" + AColuna + " * ((DPP.VALORPAGO  + DPP.VALORDESCONTO) / NULLIF(DP.VALORPARCELA, 0)) AS NUMERIC(15,2))) " +
         AApelido;
}

std::string TRepoF::GetSqlF510(const TnParansBlocoF& AParans) {
  const std::string cfop = GetFiltroCFOP(AParans, "L.CDMODELO", "LPC.CODIGOCFOP");
  const std::string modelo = GetFiltroCDModeloF500("L.CDMODELO");
  std::string s =
      "SELECT LPC.CDSITUATRIBUTPIS CSTPIS, LPC.ALIQPIS, LPC.CDSITUATRIBUTCOFINS CSTCOFINS, LPC.ALIQCOFINS, " +
      cfop + " CODIGOCFOP, " + modelo + " CDMODELO, LPC.CONTACTBEFD CONTACTB, LC.COMPLOBS, "
      "SUM(CAST(LPC.RECEITAPISCOFINS * (DPP.VALORPAGO / NULLIF(DP.VALORPARCELA, 0)) AS NUMERIC(15,2))) VLREC, "
      "SUM(CAST(LPC.QUANTIDADE * (DPP.VALORPAGO / NULLIF(DP.VALORPARCELA, 0)) AS NUMERIC(15,2))) QUANTBC, "
      "SUM(CAST(LPC.VALORPIS * (DPP.VALORPAGO / NULLIF(DP.VALORPARCELA, 0)) AS NUMERIC(15,2))) VLPIS, "
      "SUM(CAST(LPC.VALORCOFINS * (DPP.VALORPAGO / NULLIF(DP.VALORPARCELA, 0)) AS NUMERIC(15,2))) VLCOFINS ";
  s += GetFromPagamentosF500(AParans);
  s += GetJoinPrimeiroComplemento();
  s += " WHERE DPP.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "DPP.CODIGOESTAB");
  s += " AND DPP.DATAPGTO BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND " + GetFiltroPorQtde("LPC.CDSITUATRIBUTPIS", "LPC.TIPODEBITO");
  s += " GROUP BY LPC.CDSITUATRIBUTPIS, LPC.ALIQPIS, LPC.CDSITUATRIBUTCOFINS, LPC.ALIQCOFINS, " + cfop + ", " +
       modelo + ", LPC.CONTACTBEFD, LC.COMPLOBS ";
  return s;
}

// Processos referenciados: o texto leva a junção de processo em "%0:s".
std::string TRepoF::GetSqlF509(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT DISTINCT LPC.CDSITUATRIBUTPIS CSTPIS, LPC.ALIQPIS, LPC.CDSITUATRIBUTCOFINS CSTCOFINS, "
      "LPC.ALIQCOFINS, " + GetFiltroCFOP(AParans, "L.CDMODELO", "LPC.CODIGOCFOP") + " CODIGOCFOP, " +
      GetFiltroCDModeloF500("L.CDMODELO") + " CDMODELO, LPC.CONTACTBEFD CONTACTB, PR.NUMPROCREF, PR.INDPROCREF "
      " FROM DUPLICATASAIPGTO DPP "
      " JOIN DUPLICATASAI D ON D.CODIGOEMPRESA = DPP.CODIGOEMPRESA AND D.CODIGOESTAB = DPP.CODIGOESTAB "
      "AND D.CHAVEDUPLICATASAI = DPP.CHAVEDUPLICATASAI "
      " JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = D.CODIGOEMPRESA AND L.CHAVELCTOFISSAI = D.CHAVELCTOFISSAI "
      " JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
      " JOIN ESTAB F ON F.CODIGOEMPRESA = L.CODIGOEMPRESA AND F.CODIGOESTAB = L.CODIGOESTAB "
      " %0:s "
      " WHERE DPP.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "DPP.CODIGOESTAB");
  s += " AND DPP.DATAPGTO BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND " + GetFiltroPorAliq("LPC.CDSITUATRIBUTPIS");
  s += GetFiltroIndProcRef("PR.INDPROCREF");
  return UniaoProcessos(s);
}

std::string TRepoF::GetSqlF519(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT DISTINCT LPC.CDSITUATRIBUTPIS CSTPIS, LPC.QUANTIDADE QUANTBC, LPC.CDSITUATRIBUTCOFINS CSTCOFINS, "
      + GetFiltroCFOP(AParans, "L.CDMODELO", "LPC.CODIGOCFOP") + " CODIGOCFOP, " + GetFiltroCDModeloF500("L.CDMODELO") +
      " CDMODELO, LPC.CONTACTBEFD CONTACTB, PR.NUMPROCREF, PR.INDPROCREF "
      " FROM DUPLICATASAIPGTO DPP "
      " JOIN DUPLICATASAI D ON D.CODIGOEMPRESA = DPP.CODIGOEMPRESA AND D.CODIGOESTAB = DPP.CODIGOESTAB "
      "AND D.CHAVEDUPLICATASAI = DPP.CHAVEDUPLICATASAI "
      " JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = D.CODIGOEMPRESA AND L.CHAVELCTOFISSAI = D.CHAVELCTOFISSAI "
      " JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
      " JOIN ESTAB F ON F.CODIGOEMPRESA = L.CODIGOEMPRESA AND F.CODIGOESTAB = L.CODIGOESTAB "
      " %0:s "
      " WHERE DPP.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "DPP.CODIGOESTAB");
  s += " AND DPP.DATAPGTO BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND " + GetFiltroPorQtde("LPC.CDSITUATRIBUTPIS", "LPC.TIPODEBITO");
  s += GetFiltroIndProcRef("PR.INDPROCREF");
  return UniaoProcessos(s);
}

// ---------------------------------------------------------------- F550 / F560 (competência)

std::string TRepoF::GetSqlF559(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT DISTINCT LPC.CDSITUATRIBUTPIS CSTPIS, LPC.ALIQPIS, LPC.CDSITUATRIBUTCOFINS CSTCOFINS, "
      "LPC.ALIQCOFINS, " + GetFiltroCFOP(AParans, "L.CDMODELO", "LPC.CODIGOCFOP") + " CODIGOCFOP, " +
      GetFiltroCDModeloF500("L.CDMODELO") + " CDMODELO, LPC.CONTACTBEFD CONTACTB, PR.NUMPROCREF, PR.INDPROCREF "
      " FROM LCTOFISSAI L "
      " JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
      " JOIN ESTAB F ON F.CODIGOEMPRESA = L.CODIGOEMPRESA AND F.CODIGOESTAB = L.CODIGOESTAB "
      " %0:s "
      " WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "L.CODIGOESTAB");
  s += " AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND " + GetFiltroPorAliq("LPC.CDSITUATRIBUTPIS");
  s += GetFiltroIndProcRef("PR.INDPROCREF");
  return UniaoProcessos(s);
}

std::string TRepoF::GetSqlF569(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT DISTINCT LPC.CDSITUATRIBUTPIS CSTPIS, LPC.QUANTIDADE QUANTBC, LPC.CDSITUATRIBUTCOFINS CSTCOFINS, "
      + GetFiltroCFOP(AParans, "L.CDMODELO", "LPC.CODIGOCFOP") + " CODIGOCFOP, " + GetFiltroCDModeloF500("L.CDMODELO") +
      " CDMODELO, LPC.CONTACTBEFD CONTACTB, PR.NUMPROCREF, PR.INDPROCREF "
      " FROM LCTOFISSAI L "
      " JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
      " JOIN ESTAB F ON F.CODIGOEMPRESA = L.CODIGOEMPRESA AND F.CODIGOESTAB = L.CODIGOESTAB "
      " %0:s "
      " WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "L.CODIGOESTAB");
  s += " AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND " + GetFiltroPorQtde("LPC.CDSITUATRIBUTPIS", "LPC.TIPODEBITO");
  s += GetFiltroIndProcRef("PR.INDPROCREF");
  return UniaoProcessos(s);
}

std::string TRepoF::GetSqlF560(const TnParansBlocoF& AParans) {
  const std::string cfop = GetFiltroCFOP(AParans, "L.CDMODELO", "LPC.CODIGOCFOP");
  const std::string modelo = GetFiltroCDModeloF500("L.CDMODELO");
  std::string s =
      "SELECT LPC.CDSITUATRIBUTPIS CSTPIS, LPC.CDSITUATRIBUTCOFINS CSTCOFINS, LPC.QUANTIDADE QUANTBC, "
      "LPC.ALIQPIS, LPC.ALIQCOFINS, " + cfop + " CODIGOCFOP, " + modelo + " CDMODELO, LPC.CONTACTBEFD CONTACTB, "
      "LC.COMPLOBS, CAST(SUM(LPC.RECEITAPISCOFINS) AS NUMERIC(14,2)) VLREC, "
      "CAST(SUM(LPC.VALORPIS) AS NUMERIC(14,2)) VLPIS, CAST(SUM(LPC.VALORCOFINS) AS NUMERIC(14,2)) VLCOFINS "
      " FROM LCTOFISSAI L "
      " JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "AND LPC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
      " JOIN ESTAB F ON F.CODIGOEMPRESA = L.CODIGOEMPRESA AND F.CODIGOESTAB = L.CODIGOESTAB " +
      GetJoinPrimeiroComplemento() + " WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "L.CODIGOESTAB");
  s += " AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND " + GetFiltroPorQtde("LPC.CDSITUATRIBUTPIS", "LPC.TIPODEBITO");
  s += " GROUP BY LPC.CDSITUATRIBUTPIS, LPC.CDSITUATRIBUTCOFINS, LPC.QUANTIDADE, LPC.ALIQPIS, LPC.ALIQCOFINS, " +
       cfop + ", " + modelo + ", LPC.CONTACTBEFD, LC.COMPLOBS ";
  return s;
}

// ---------------------------------------------------------------- F600 / F700 / F800

std::string TRepoF::GetSqlF600(const TnParansBlocoF& AParans) {
  // Valores: [início, fim, empresa, estab]: o período aparece primeiro, no pagamento.
  const char* natRec =
      "CASE WHEN SUBSTR(TD.TIPODEBITO, LENGTH(TD.TIPODEBITO) - 2, 3) IN ('.51', '.52', '.53', '.54') "
      "OR SUBSTR(TD.TIPODEBITOPIS, LENGTH(TD.TIPODEBITOPIS) - 2, 3) IN ('.51', '.52', '.53', '.54') "
      "THEN 1 ELSE 0 END";
  std::string s =
      "SELECT R.TIPORETENCAO, R.DATAPGTOPISCOFINSCSLL, P.INSCRFEDERAL CNPJ, ";
  s += natRec;
  s += " INDNATREC, CAST(SUM(R.BASECALCULO) AS NUMERIC(14,2)) VLBCRET, "
       "CAST(SUM(PP.BASECALCULO) AS NUMERIC(14,2)) VLBCPAGO, "
       "CAST(SUM(R.VALORPIS) AS NUMERIC(14,2)) VLRETPIS, CAST(SUM(R.VALORCOFINS) AS NUMERIC(14,2)) VLRETCOFINS, "
       "CAST(SUM(R.VALORPIS + R.VALORCOFINS) AS NUMERIC(14,2)) VLRET "
       " FROM LCTOFISSAIRETIDO R "
       // Pagamentos do PIS (código 24) no período, somados por documento antes da junção.
       " LEFT JOIN (SELECT PG.CODIGOEMPRESA, PG.CHAVELCTOFISSAI, SUM(PG.BASECALCULO) BASECALCULO "
       " FROM LCTOFISSAIRETIDOPAGAMENTO PG WHERE PG.TIPOIMPOSTO = 24 "
       " AND PG.DATAPAGAMENTO BETWEEN :DATAINICIAL AND :DATAFINAL "
       " GROUP BY PG.CODIGOEMPRESA, PG.CHAVELCTOFISSAI) PP ON PP.CODIGOEMPRESA = R.CODIGOEMPRESA "
       "AND PP.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI "
       " JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = R.CODIGOEMPRESA AND L.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI "
       " JOIN PESSOA P ON P.CODIGOPESSOA = L.CODIGOPESSOA "
       " LEFT JOIN (SELECT LPC.CODIGOEMPRESA, LPC.CHAVELCTOFISSAI, MAX(LPC.TIPODEBITO) TIPODEBITO, "
       "MAX(LPC.TIPODEBITOPIS) TIPODEBITOPIS FROM LCTOFISSAIPISCOFINS LPC "
       " WHERE LPC.TIPODEBITO <> '4.3.05.00' "
       " GROUP BY LPC.CODIGOEMPRESA, LPC.CHAVELCTOFISSAI) TD ON TD.CODIGOEMPRESA = R.CODIGOEMPRESA "
       "AND TD.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI "
       " WHERE R.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "R.CODIGOESTAB");
  s += " AND R.DATAPGTOPISCOFINSCSLL BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " GROUP BY R.TIPORETENCAO, R.DATAPGTOPISCOFINSCSLL, P.INSCRFEDERAL, ";
  s += natRec;
  s += " ORDER BY R.DATAPGTOPISCOFINSCSLL, R.TIPORETENCAO, P.INSCRFEDERAL ";
  return s;
}

std::string TRepoF::GetSqlF700(const TnParansBlocoF& AParans) {
  auto parte = [&](const std::string& ATabela, const std::string& ANatureza, bool AAgruparNatureza) {
    return "SELECT DED.INDORIDED, " + ANatureza + " INDNATDED, DED.CNPJ, DED.INFCOMP, "
           "CAST(SUM(DED.VLDEDPIS) AS NUMERIC(14,2)) VLDEDPIS, CAST(SUM(DED.VLDEDCOFINS) AS NUMERIC(14,2)) VLDEDCOFINS, "
           "CAST(SUM(DED.VLBCOPER) AS NUMERIC(14,2)) VLBCOPER "
           " FROM " + ATabela + " DED "
           " WHERE DED.CODIGOEMPRESA = :CODIGOEMPRESA " + GetFiltroEstab(AParans, "DED.CODIGOESTAB") +
           " AND DED.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
           " GROUP BY DED.INDORIDED, " + (AAgruparNatureza ? ANatureza + ", " : std::string()) +
           "DED.CNPJ, DED.INFCOMP ";
  };
  // No presumido a dedução é sempre cumulativa (natureza 1).
  return parte("LUCROREALDEDUCAODIVERSAS", "DED.INDNATDED", true) + " UNION ALL " +
         parte("EFDDEDUCOESDIVERSAS", "DED.INDNATDED", true) + " UNION ALL " +
         parte("LUCROPRESDEDUCAODIVERSAS", "1", false);
}

std::string TRepoF::GetSqlF800(const TnParansBlocoF& AParans) {
  std::string s =
      "SELECT L.DATALCTOFIS, L.INDNATEVENTO, L.PERAPUCRED, L.INSCRFEDERAL, L.CODIGOTABSPED, "
      "L.VALORCREDTRANSFPIS, L.VALORCREDTRANSFCOFINS, L.PERCCREDITOTRANSF "
      " FROM EFDCREDITOEVENTOINCFUSCIS L "
      " WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "L.CODIGOESTAB");
  s += " AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += "order by L.PERAPUCRED, L.CODIGOTABSPED, L.INDNATEVENTO";
  return s;
}

// ---------------------------------------------------------------- carga

void TRepoF::CarregarDadosF100(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF100(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosObsF100(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlOBSF100(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF111(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF111(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF120(TDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF120(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF130(TDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF130(p), GetParamsF130(p));
}
void TRepoF::CarregarDadosF150(TDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF150(p), GetParamsF150(p));
}
void TRepoF::CarregarDadosF200(TDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF200(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF205(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF205(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF210(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF210(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF500(TDataSet*& ADataSet, const TnParansBlocoF& p) const {
  CarregarDados(ADataSet, p, GetSqlF500(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF500RegCaixa(TDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF500RegCaixa(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF509(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF509(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF510(TDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF510(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF519(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF519(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF525(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) const {
  CarregarDados(ADataSet, p, GetSqlF525(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF525RegCaixa(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) const {
  CarregarDados(ADataSet, p, GetSqlF525RegCaixa(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF550(TDataSet*& ADataSet, const TnParansBlocoF& p) const {
  CarregarDados(ADataSet, p, GetSqlF550(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF559(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF559(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF560(TDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF560(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF569(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF569(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF600(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF600(p), GetParamsF600(p));
}
void TRepoF::CarregarDadosF700(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF700(p), GetParamsEstabData(p));
}
void TRepoF::CarregarDadosF800(TnClientDataSet*& ADataSet, const TnParansBlocoF& p) {
  CarregarDados(ADataSet, p, GetSqlF800(p), GetParamsEstabData(p));
}

std::string TnArqRepositorioSPEDPisCofinsBlocoF::GetSqlF500Pagamentos(const TnParansBlocoF& AParans, bool ADetalhado) {
  const std::string cfop = GetFiltroCFOP(AParans, "L.CDMODELO", "LPC.CODIGOCFOP");
  const std::string modelo = GetFiltroCDModeloF500("L.CDMODELO");
  std::string s = "SELECT LPC.CDSITUATRIBUTPIS CSTPIS, LPC.ALIQPIS, LPC.CDSITUATRIBUTCOFINS CSTCOFINS, "
                  "LPC.ALIQCOFINS, " + cfop + " CODIGOCFOP, " + modelo +
                  " CDMODELO, LPC.CONTACTBEFD CONTACTB, " +
                  (ADetalhado ? "LC.COMPLOBS, " : "CAST(NULL AS CHAR) COMPLOBS, ") +
                  RateioPagamento("LPC.RECEITAPISCOFINS", "VLREC") + ", " +
                  RateioPagamento("LPC.BASECALCULOPISCOFINS", "VLBC") + ", " +
                  RateioPagamento("LPC.VALORPIS", "VLPIS") + ", " + RateioPagamento("LPC.VALORCOFINS", "VLCOFINS");
  s += GetFromPagamentosF500(AParans);
  if (ADetalhado) s += GetJoinPrimeiroComplemento();
  s += " WHERE DPP.CODIGOEMPRESA = :CODIGOEMPRESA ";
  s += GetFiltroEstab(AParans, "DPP.CODIGOESTAB");
  s += " AND DPP.DATAPGTO BETWEEN :DATAINICIAL AND :DATAFINAL ";
  s += " AND " + GetFiltroPorAliq(ADetalhado ? "LPC.CDSITUATRIBUTPIS" : "LPC.CDSITUATRIBUTCOFINS");
  s += " GROUP BY LPC.CDSITUATRIBUTPIS, LPC.ALIQPIS, LPC.CDSITUATRIBUTCOFINS, LPC.ALIQCOFINS, " + cfop + ", " +
       modelo + (ADetalhado ? ", LPC.CONTACTBEFD, LC.COMPLOBS " : ", LPC.CONTACTBEFD ");
  return s;
}
