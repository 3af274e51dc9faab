// Créditos do repositório monolítico (M100 a M115 e M500 a M515): eventos societários,
// bases por natureza e CST, ajustes e o crédito descontado no período.
#include <algorithm>
#include <map>

#include "base/Format.h"
#include "base/Nutil.h"
#include "blocom/repo/nFisRepositorioPisCofinsBlocoM_U.h"
#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "host/Nutildb.h"
#include "host/PatServicosDACON.h"
#include "host/ProporcaoCreditos.h"

namespace {
struct TMapCredEvento : TRowMap {
  PISCO_CAMPO(CODIGOTABSPED);
  PISCO_CAMPO(VALORCREDITOTRANSF);
};

struct TMap105_505 : TRowMap {
  PISCO_CAMPO(CDSITUATRIBUT);
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(CODIGOCFOP);
  PISCO_CAMPO(BASECALCULOPISCOFINS);
  PISCO_CAMPO(QUANTIDADE);
};

struct TMapEstoque : TRowMap {
  PISCO_CAMPO(VLRBCMENEST);
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(CST);
};

struct TMapDemaisDoc : TRowMap {
  PISCO_CAMPO(ORIGEMCREDITO);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(BASECALCULO);
  PISCO_CAMPO(ALIQUOTA);
};

struct TMapDevSaida : TRowMap {
  PISCO_CAMPO(CHAVELCTOFISENTREF);
  PISCO_CAMPO(CODIGOPRODUTO);
  PISCO_CAMPO(CODIGOCFOP);
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(QUANTIDADE);
  PISCO_CAMPO(BASECALCULOPISCOFINS);
  PISCO_CAMPO(VALOR);
  PISCO_CAMPO(CDSITUATRIBUT);
};

struct TMapEntradaRef : TRowMap {
  PISCO_CAMPO(CHAVELCTOFISENT);
  PISCO_CAMPO(CODIGOPRODUTO);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(CDSITUATRIBUT);
  PISCO_CAMPO(CFOP1);
  PISCO_CAMPO(ALIQUOTA);
};

struct TMapAjusteCred : TRowMap {
  PISCO_CAMPO(INDAJUSTE);
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(VALOR);
  PISCO_CAMPO(NATAJUSTE);
  PISCO_CAMPO(CODIGOAJUSTE);
  PISCO_CAMPO(NUMPROCESSO);
  PISCO_CAMPO(DESCAJUSTE);
  PISCO_CAMPO(DATALCTOFIS);
  PISCO_CAMPO(CDSITUATRIBUT);
  PISCO_CAMPO(CODIGOCFOP);
};

struct TMapCredDescontar : TRowMap {
  PISCO_CAMPO(IMPOSTO);
  PISCO_CAMPO(CODCRED);
  PISCO_CAMPO(VLCREDDESCEFD);
};

bool CstProporcional(int ACST) { return (ACST >= 53 && ACST <= 56) || (ACST >= 63 && ACST <= 66); }

// Coluna por imposto: o PIS tem sufixo próprio nas tabelas de lançamento e de demais documentos.
std::string ColunaPorImposto(int AImposto, const std::string& APis, const std::string& ACofins) {
  return AImposto == 15 ? APis : ACofins;
}
}  // namespace

// ------------------------------------------------------------------ registros

TM100_500CreditoImposto& TRepoPisCofinsBlocoM::GetM100_500(const std::string& ATipoCredito, double AAliq,
                                                           double AAliqQuant, int AIndCredOri) {
  const std::string chave = ChaveM100(ATipoCredito, AAliq, AAliqQuant, AIndCredOri);
  if (auto* existente = FLstM100_500->TryGetValue(chave)) return *existente;
  auto reg = std::make_unique<TM100_500CreditoImposto>();
  reg->FIND_CRED_ORI = AIndCredOri;
  if (AAliqQuant > 0)
    reg->FALIQ_QUANT = AAliqQuant;
  else
    reg->FALIQ = AAliq;
  reg->FCOD_CRED = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(ATipoCredito);
  reg->FVL_CRED_DIF = 0;
  return FLstM100_500->Add(chave, std::move(reg));
}

std::unique_ptr<TM105_505DetalheBCCredito> TRepoPisCofinsBlocoM::RecParaObj(const TRecM105_505& ARec) {
  auto r = std::make_unique<TM105_505DetalheBCCredito>();
  r->FNAT_BC_CRED = ARec.NAT_BC_CRED;
  r->FNAT_BC_CRED2 = ARec.NAT_BC_CRED2;
  r->FCST = ARec.CST;
  r->FVL_BC_TOT = ARec.VL_BC_TOT;
  r->FVL_BC_CUM = ARec.VL_BC_CUM;
  r->FVL_BC = ARec.VL_BC;
  r->FQUANT_BC_TOT = ARec.QUANT_BC_TOT;
  r->FQUANT_BC = ARec.QUANT_BC;
  r->FDESC_CRED = ARec.DESC_CRED;
  // A natureza 13 (outras operações) pede a descrição do crédito no arquivo.
  if (r->FDESC_CRED.empty() && r->FNAT_BC_CRED == "13") r->FDESC_CRED = "OUTRAS OPERAÇÕES";
  return r;
}

std::unique_ptr<TM110_510_220_620AjusteCredImp> TRepoPisCofinsBlocoM::RecParaObj(const TRecM110_510_220_620& ARec) {
  auto r = std::make_unique<TM110_510_220_620AjusteCredImp>();
  r->FIND_AJ = ARec.IND_AJ;
  r->FVL_AJ = ARec.VL_AJ;
  r->FCOD_AJ = ARec.COD_AJ;
  r->FNUM_DOC = ARec.NUM_DOC;
  r->FDESCR_AJ = ARec.DESCR_AJ;
  r->FDT_REF = ARec.DT_REF;
  r->FAjusteSCP = ARec.AjusteSCP;
  return r;
}

void TRepoPisCofinsBlocoM::GerarM105_505(const TRecM105_505& ARec) {
  if (!FOptanteLucroPresumido && CstProporcional(ARec.CST))
    GerarM105_505ProporcionalPorReceita(ARec);
  else
    GerarM105_505Unico(ARec);
}

void TRepoPisCofinsBlocoM::GerarM105_505Unico(const TRecM105_505& ARec) {
  const std::string chave = ARec.NAT_BC_CRED + "|" + std::to_string(ARec.CST);
  auto& m100 = ARec.QUANT_BC > 0 ? GetM100_500(ARec.TipoCreditoMestre, 0, ARec.AliquotaMestre, 0)
                                 : GetM100_500(ARec.TipoCreditoMestre, ARec.AliquotaMestre, 0, 0);
  if (auto* m105 = m100.FM105_505List.TryGetValue(chave)) {
    m105->FVL_BC_TOT += ARec.VL_BC_TOT;
    m105->FVL_BC_CUM += ARec.VL_BC_CUM;
    m105->FVL_BC += ARec.VL_BC;
    m105->FQUANT_BC_TOT += ARec.QUANT_BC_TOT;
    m105->FQUANT_BC += ARec.QUANT_BC;
  } else {
    m100.FM105_505List.Add(chave, RecParaObj(ARec));
  }
}

const TRecProporcReceita* TRepoPisCofinsBlocoM::ProporcaoDoCST(int ACST) const {
  switch (ACST % 10) {
    case 3: return &FProporcCST53;
    case 4: return &FProporcCST54;
    case 5: return &FProporcCST55;
    case 6: return &FProporcCST56;
    default: return nullptr;
  }
}

// Cada parcela da receita (tributada, não tributada, exportação) leva a sua parte da base e
// da quantidade, arredondada a 2 casas, sob o tipo de crédito do seu regime. O total da linha
// fica em VL_BC_TOT de cada parcela, como o registro pede.
void TRepoPisCofinsBlocoM::GerarM105_505ProporcionalPorReceita(const TRecM105_505& ARec) {
  const TRecProporcReceita* prop = ProporcaoDoCST(ARec.CST);
  if (!prop || prop->LstProporc.empty()) return;  // crédito comum sem receita no mês: nada a ratear
  for (size_t i = 0; i < prop->LstProporc.size(); ++i) {
    const double perc = VarToFloat(prop->LstProporc[i]);
    TRecM105_505 parte = ARec;
    parte.TipoCreditoMestre = VarToStr(prop->LstReceita[i]) + ARec.TipoCreditoMestre.substr(1);
    parte.VL_BC = Nutil::RoundValor(ARec.VL_BC * perc / 100, 2);
    parte.QUANT_BC = Nutil::RoundValor(ARec.QUANT_BC * perc / 100, 2);
    GerarM105_505Unico(parte);
  }
}

void TRepoPisCofinsBlocoM::GerarM110_510(const TRecM110_510_220_620& ARec) {
  if (CstProporcional(ARec.CST))
    GerarM110_510ProporcionalPorReceita(ARec);
  else
    GerarM110_510Unico(ARec);
}

void TRepoPisCofinsBlocoM::GerarM110_510Unico(const TRecM110_510_220_620& ARec) {
  auto* m100 = FLstM100_500->TryGetValue(ChaveM100(ARec.TipoCreditoMestre, ARec.AliquotaMestre,
                                                   ARec.AliquotaMestreQtd, 0));
  if (!m100) return;  // ajuste sem crédito correspondente no período não é registrado
  const std::string chave = ARec.IND_AJ + "|" + ARec.COD_AJ + "|" + ARec.NUM_DOC + "|" + ARec.DT_REF + "|" +
                            ARec.DESCR_AJ;
  if (auto* m110 = m100->FM110_510List.TryGetValue(chave))
    m110->FVL_AJ += ARec.VL_AJ;
  else
    m100->FM110_510List.Add(chave, RecParaObj(ARec));
}

void TRepoPisCofinsBlocoM::GerarM110_510ProporcionalPorReceita(const TRecM110_510_220_620& ARec) {
  const TRecProporcReceita* prop = ProporcaoDoCST(ARec.CST);
  if (!prop || prop->LstProporc.empty()) return;
  for (size_t i = 0; i < prop->LstProporc.size(); ++i) {
    TRecM110_510_220_620 parte = ARec;
    parte.TipoCreditoMestre = VarToStr(prop->LstReceita[i]) + ARec.TipoCreditoMestre.substr(1);
    parte.VL_AJ = Nutil::RoundValor(ARec.VL_AJ * VarToFloat(prop->LstProporc[i]) / 100, 2);
    GerarM110_510Unico(parte);
  }
}

// ------------------------------------------------------------------ eventos societários

std::string TRepoPisCofinsBlocoM::GetSqlM100_500CreditoEvento() const {
  return Format(
      " select  L.CODIGOTABSPED,  sum(L.VALORCREDTRANSF%0:s) VALORCREDITOTRANSF  from EFDCREDITOEVENTOINCFUSCIS L  "
      "where L.CODIGOEMPRESA = :pCodigoEmpresa "
      " and L.DATALCTOFIS between :pDataInicial and :pDataFinal "
      " group by L.CODIGOTABSPED "
      " order by L.CODIGOTABSPED ",
      {GetTipoImposto()});
}

void TRepoPisCofinsBlocoM::CarregarDadosM100_500CreditoEvento() {
  auto ds = ExecutarSQLInt(GetSqlM100_500CreditoEvento(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapCredEvento m;
  FieldMapper().MapearFields(*ds, m);
  // Crédito recebido em fusão, incorporação ou cisão: origem 1, valor guardado.
  for (; !ds->Eof(); ds->Next())
    GetM100_500(TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODIGOTABSPED.AsString()), 0, 0, 1).FVL_CRED =
        m.VALORCREDITOTRANSF.AsFloat();
  Nutildb::DestruirSQL(ds);
}

// ------------------------------------------------------------------ bases M105

void TRepoPisCofinsBlocoM::CarregarDadosM105_505() {
  CarregarDadosM105_505Lcto();
  CarregarDadosM105_505Bem();
  CarregarDadosM105_M505EstoqAbertura();
  CarregarDadosM105_505DemaisDoc();
}

std::string TRepoPisCofinsBlocoM::GetSqlM105_M505() const {
  const std::string tipo = ColunaPorImposto(FImposto, "LPC.TIPOCREDITOPIS", "LPC.TIPOCREDITO");
  const std::string cfop = " SUBSTR(CAST(LPC.CODIGOCFOP AS VARCHAR(10)), 1, 4) ";
  return Format(" SELECT  LPC.CDSITUATRIBUT%0:s CDSITUATRIBUT,  LPC.ALIQ%0:s ALIQUOTA, " + tipo + " TIPOCREDITO, " +
                    cfop + "CODIGOCFOP, " +
                    " SUM(LPC.BASECALCULOPISCOFINS) BASECALCULOPISCOFINS,  SUM(LPC.QUANTIDADE) QUANTIDADE "
                    " FROM LCTOFISENTPISCOFINS LPC "
                    " WHERE LPC.CODIGOEMPRESA = :CODIGOEMPRESA " +
                    GetFilterEstab("LPC.") +
                    " AND LPC.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
                    " AND LPC.CDSITUATRIBUT%0:s NOT BETWEEN 70 AND 75 "
                    " AND LPC.ALIQ%0:s > 0 "
                    " GROUP BY " +
                    tipo + ", LPC.CDSITUATRIBUT%0:s, LPC.ALIQ%0:s, " + cfop +
                    ", CASE WHEN LPC.QUANTIDADE > 0 THEN 1 ELSE 0 END "
                    " ORDER BY 3, 1, 2, 4, 6 ",
                {GetTipoImposto()});
}

void TRepoPisCofinsBlocoM::CarregarDadosM105_505Lcto() {
  auto ds = ExecutarSQLInt(GetSqlM105_M505(), GetFiltroEmpresaPeriodo(), true, true, -1);
  TMap105_505 m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    TRecM105_505 r;
    r.NAT_BC_CRED2 = m.TIPOCREDITO.AsString();
    r.NAT_BC_CRED = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(r.NAT_BC_CRED2);
    r.CST = static_cast<int>(m.CDSITUATRIBUT.AsInteger());
    const double base = m.BASECALCULOPISCOFINS.AsFloat();
    const double quant = m.QUANTIDADE.AsFloat();
    const double aliq = m.ALIQUOTA.AsFloat();
    r.VL_BC_TOT = base;
    // Na apuração mista a parte da base ligada à receita cumulativa não dá crédito.
    if (FProporcaoCredito && (r.CST == 50 || r.CST == 60))
      r.VL_BC_CUM = Nutil::RoundValor(base * FProporcaoCredito->GetValorCreditoCst(r.CST, pcPercRecCum) / 100, 2);
    r.VL_BC = base - r.VL_BC_CUM;
    if (quant > 0) {
      r.QUANT_BC_TOT = quant;
      r.QUANT_BC = quant;
      r.TipoCreditoMestre = GetTipoCreditoMestreQtd(r.CST);
    } else {
      r.TipoCreditoMestre = GetTipoCreditoMestre(r.CST, m.CODIGOCFOP.AsString(), aliq, r.NAT_BC_CRED2);
    }
    r.AliquotaMestre = aliq;
    GerarM105_505(r);
  }
  Nutildb::DestruirSQL(ds);
}

// Natureza do crédito do bem pelo tipo de crédito do DACON: edificações (6), acréscimos (7)
// e os demais bens pelo valor de aquisição ou depreciação.
static std::string NaturezaBem(int ATipoDacon) {
  if (ATipoDacon == 6) return "4.3.07.11";
  if (ATipoDacon == 7) return "4.3.07.09";
  return "4.3.07.10";
}

void TRepoPisCofinsBlocoM::CarregarDadosM105_505Bem() {
  const auto creditos = TnPatServicosDACON::CreditosDaconPeriodo(FConfigBlocoM.CodigoEmpresa, FConfigBlocoM.CodigoEstab,
                                                                 FConfigBlocoM.DataInicial, FConfigBlocoM.DataFinal);
  for (const auto& c : creditos) {
    TRecM105_505 r;
    r.NAT_BC_CRED2 = NaturezaBem(c.TipoDaconCredito);
    r.NAT_BC_CRED = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(r.NAT_BC_CRED2);
    r.CST = FImposto == 15 ? c.CSTPIS : c.CSTCOFINS;
    r.VL_BC_TOT = c.QuotaMensal;
    r.VL_BC = c.QuotaMensal;
    r.TipoCreditoMestre = GetTipoCreditoMestreBem(r.CST, c.OrigemBem);
    r.AliquotaMestre = FImposto == 15 ? c.AliquotaPis : c.AliquotaCofins;
    GerarM105_505(r);
  }
}

std::string TRepoPisCofinsBlocoM::GetSqlM105_M505EstoqAbert() const {
  const std::string tabela = FOptanteEFD ? "EFDCREDPRESESTOQABERT" : "LUCROREALCREDPRESESTOQABERT";
  const std::string t = GetTipoImposto();
  return Format("SELECT  SUM(L.VLRBCMENEST) VLRBCMENEST ,L.ALIQ%s ALIQUOTA ,L.CST%s CST  FROM " + tabela + " L " +
                    " WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA " + GetFilterEstab("L.") +
                    " AND L.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL " + " GROUP BY L.ALIQ%s, L.CST%s",
                {t, t, t, t});
}

void TRepoPisCofinsBlocoM::CarregarDadosM105_M505EstoqAbertura() {
  // Estoque de abertura: crédito em doze parcelas; vale o lançamento dos últimos doze meses.
  TParams valores = GetFiltroEmpresaPeriodo();
  valores[1] = VarDate(IncMonth(FConfigBlocoM.DataInicial, -11));
  auto ds = ExecutarSQLInt(GetSqlM105_M505EstoqAbert(), valores, true, false, -1);
  TMapEstoque m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    if (m.VLRBCMENEST.IsNull()) continue;
    TRecM105_505 r;
    r.NAT_BC_CRED2 = "4.3.07.18";
    r.NAT_BC_CRED = "18";
    r.CST = static_cast<int>(m.CST.AsInteger());
    r.VL_BC_TOT = m.VLRBCMENEST.AsFloat();
    r.VL_BC = r.VL_BC_TOT;
    r.TipoCreditoMestre = GetTipoCreditoRegime(r.CST) + "04";
    r.AliquotaMestre = m.ALIQUOTA.AsFloat();
    GerarM105_505(r);
  }
  Nutildb::DestruirSQL(ds);
}

std::string TRepoPisCofinsBlocoM::GetSqlM105_M505DemaisDoc() const {
  const std::string cst = ColunaPorImposto(FImposto, "D.CST", "D.CSTCOFINS");
  return Format(" SELECT D.ORIGEMCREDITO, " + ColunaPorImposto(FImposto, "D.TIPOCREDITO", "D.TIPOCREDITOCOFINS") +
                    " TIPOCREDITO, " + cst + " CST, " + " D.BASECALCULO, " + " D.ALIQ%s ALIQUOTA " +
                    " FROM EFDF100DEMAISDOC D " + " WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA " + GetFilterEstab("D.") +
                    " AND D.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL " + " AND D.INDOPER = 0 " + " AND (" + cst +
                    " BETWEEN 50 AND 56 OR " + cst + " BETWEEN 60 AND 67) " + " ORDER BY D.CODIGOESTAB, D.SEQ ",
                {GetTipoImposto()});
}

void TRepoPisCofinsBlocoM::CarregarDadosM105_505DemaisDoc() {
  auto ds = ExecutarSQLInt(GetSqlM105_M505DemaisDoc(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapDemaisDoc m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    TRecM105_505 r;
    r.NAT_BC_CRED2 = m.TIPOCREDITO.AsString();
    r.NAT_BC_CRED = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(r.NAT_BC_CRED2);
    r.CST = static_cast<int>(m.CST.AsInteger());
    r.VL_BC_TOT = m.BASECALCULO.AsFloat();
    r.VL_BC = r.VL_BC_TOT;
    r.TipoCreditoMestre = GetTipoCreditoRegime(r.CST) + (m.ORIGEMCREDITO.AsInteger() == 0 ? "01" : "08");
    r.AliquotaMestre = m.ALIQUOTA.AsFloat();
    GerarM105_505(r);
  }
  Nutildb::DestruirSQL(ds);
}

// ------------------------------------------------------------------ ajustes M110

void TRepoPisCofinsBlocoM::CarregarAjustesM110_510_220_620() {
  CarregarAjustesM110_510_220_620Devolucao();
  CarregarAjustesM110_510_220_620Lcto();
}

std::string TRepoPisCofinsBlocoM::GetSqlM110_510_220_620DevSaida() const {
  const std::string tipo = ColunaPorImposto(FImposto, "S.TIPODEBITOPIS", "S.TIPODEBITO");
  const std::string colunas = " S.CODIGOPRODUTO, S.CODIGOCFOP, S.ALIQ%0:s ALIQUOTA, " + tipo +
                              " TIPODEBITO, S.QUANTIDADE, S.BASECALCULOPISCOFINS, S.VALOR%0:s VALOR, ";
  const std::string origem = " FROM LCTOFISSAIPISCOFINS S "
                             " JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = S.CODIGOEMPRESA "
                             " AND L.CHAVELCTOFISSAI = S.CHAVELCTOFISSAI ";
  const std::string onde = " WHERE S.CODIGOEMPRESA = :CODIGOEMPRESA " + GetFilterEstab("S.") +
                           " AND S.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
  // Devolução de compra: a nota de saída referencia a entrada cujo crédito se estorna.
  // Perda (5927) ou outra saída (5949) de CST 49 lançada como ajuste de crédito: o CST vem da
  // entrada referenciada quando há uma.
  return Format(
      " SELECT R.CHAVELCTOFISENTREF," + colunas + " S.CDSITUATRIBUT%0:s CDSITUATRIBUT " + origem +
          " JOIN LCTOFISSAISPEDC113 R ON R.CODIGOEMPRESA = S.CODIGOEMPRESA "
          " AND R.CHAVELCTOFISSAI = S.CHAVELCTOFISSAI AND R.SEQ = S.SEQ " +
          onde + " AND R.CHAVELCTOFISENTREF IS NOT NULL AND " + tipo + " = '4.3.05.00' " +
          " UNION "
          " SELECT R.CHAVELCTOFISENTREF," +
          colunas +
          " COALESCE((SELECT MIN(E.CDSITUATRIBUT%0:s) FROM LCTOFISENTPISCOFINS E "
          " WHERE E.CODIGOEMPRESA = R.CODIGOEMPRESA AND E.CHAVELCTOFISENT = R.CHAVELCTOFISENTREF "
          " AND E.CODIGOPRODUTO = S.CODIGOPRODUTO), S.CDSITUATRIBUT%0:s) CDSITUATRIBUT " +
          origem +
          " LEFT JOIN LCTOFISSAISPEDC113 R ON R.CODIGOEMPRESA = S.CODIGOEMPRESA "
          " AND R.CHAVELCTOFISSAI = S.CHAVELCTOFISSAI AND R.SEQ = S.SEQ " +
          onde +
          " AND (S.CODIGOCFOP = 5927 OR S.CODIGOCFOP BETWEEN 5927000 AND 5927999 "
          " OR ((S.CODIGOCFOP = 5949 OR S.CODIGOCFOP BETWEEN 5949000 AND 5949999) "
          " AND S.CDSITUATRIBUT%0:s = 49 AND " +
          tipo + " = '4.3.08.06')) " + " ORDER BY 1, 2 ",
      {GetTipoImposto()});
}

std::string TRepoPisCofinsBlocoM::GetSqlM110_510_220_620Entrada() const {
  return Format(" SELECT E.CHAVELCTOFISENT, E.CODIGOPRODUTO, " +
                    ColunaPorImposto(FImposto, "E.TIPOCREDITOPIS", "E.TIPOCREDITO") +
                    " TIPOCREDITO, E.CDSITUATRIBUT%0:s CDSITUATRIBUT, "
                    " SUBSTR(CAST(E.CODIGOCFOP AS VARCHAR(10)), 1, 1) CFOP1, E.ALIQ%0:s ALIQUOTA "
                    " FROM LCTOFISENTPISCOFINS E "
                    " JOIN LCTOFISSAISPEDC113 R ON R.CODIGOEMPRESA = E.CODIGOEMPRESA "
                    " AND R.CHAVELCTOFISENTREF = E.CHAVELCTOFISENT "
                    " JOIN LCTOFISSAI S ON S.CODIGOEMPRESA = R.CODIGOEMPRESA "
                    " AND S.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI "
                    " WHERE E.CODIGOEMPRESA = :CODIGOEMPRESA " +
                    GetFilterEstab("S.") +
                    " AND S.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
                    " GROUP BY E.CHAVELCTOFISENT, E.CODIGOPRODUTO, E.SEQ, " +
                    ColunaPorImposto(FImposto, "E.TIPOCREDITOPIS", "E.TIPOCREDITO") +
                    ", E.CDSITUATRIBUT%0:s, E.CODIGOCFOP, E.ALIQ%0:s "
                    " ORDER BY E.CHAVELCTOFISENT, E.CODIGOPRODUTO, E.SEQ ",
                {GetTipoImposto()});
}

// O crédito tomado na entrada devolvida (ou perdida) volta como redução do crédito do mês,
// no M100 do tipo e da alíquota da entrada.
void TRepoPisCofinsBlocoM::CarregarAjustesM110_510_220_620Devolucao() {
  struct TEntrada {
    std::string TipoCredito, Cfop1;
    int CST;
    double Aliq;
  };
  std::map<std::pair<int64_t, int64_t>, TEntrada> entradas;
  {
    auto ds = ExecutarSQLInt(GetSqlM110_510_220_620Entrada(), GetFiltroEmpresaPeriodo(), true, false, -1);
    TMapEntradaRef m;
    FieldMapper().MapearFields(*ds, m);
    for (; !ds->Eof(); ds->Next())
      entradas.try_emplace({m.CHAVELCTOFISENT.AsInteger(), m.CODIGOPRODUTO.AsInteger()},
                           TEntrada{m.TIPOCREDITO.AsString(), m.CFOP1.AsString(),
                                    static_cast<int>(m.CDSITUATRIBUT.AsInteger()), m.ALIQUOTA.AsFloat()});
    Nutildb::DestruirSQL(ds);
  }
  auto ds = ExecutarSQLInt(GetSqlM110_510_220_620DevSaida(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapDevSaida m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    const double valor = m.VALOR.AsFloat();
    if (valor == 0) continue;
    TRecM110_510_220_620 r;
    r.IND_AJ = "0";
    r.VL_AJ = valor;
    r.COD_AJ = "06";
    const bool devolucao = !m.CHAVELCTOFISENTREF.IsNull() && m.TIPODEBITO.AsString() == "4.3.05.00";
    r.DESCR_AJ = devolucao ? "DEVOLUÇÃO DE COMPRA" : "PERDA OU SAÍDA SEM DÉBITO";
    r.CST = static_cast<int>(m.CDSITUATRIBUT.AsInteger());
    std::string tipo, cfop1 = "1";
    double aliq = m.ALIQUOTA.AsFloat();
    if (!m.CHAVELCTOFISENTREF.IsNull()) {
      auto it = entradas.find({m.CHAVELCTOFISENTREF.AsInteger(), m.CODIGOPRODUTO.AsInteger()});
      if (it != entradas.end()) {
        tipo = it->second.TipoCredito;
        cfop1 = it->second.Cfop1;
        r.CST = it->second.CST;
        aliq = it->second.Aliq;
      }
    }
    r.TipoCreditoMestre = GetTipoCreditoMestre(r.CST, cfop1, aliq, tipo);
    r.AliquotaMestre = aliq;
    GerarM110_510(r);
  }
  Nutildb::DestruirSQL(ds);
}

std::string TRepoPisCofinsBlocoM::GetSqlM110_510_220_620LctoAjuste(int ATipoAjuste) const {
  const std::string colunas =
      " SELECT AJ.INDAJUSTE, AJ.ALIQAJUSTE%s ALIQUOTA, AJ.VLRAJUSTE%s VALOR, AJ.NATAJUSTE, AJ.CODIGOAJUSTE, "
      " AJ.NUMPROCESSO, AJ.DESCAJUSTE, AJ.DATALCTOFIS, 0 CDSITUATRIBUT, '0' CODIGOCFOP ";
  const std::string onde = " WHERE AJ.CODIGOEMPRESA = :CODIGOEMPRESA " + GetFilterEstab("AJ.") +
                           " AND AJ.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL " +
                           " AND AJ.TIPOAJUSTE = " + std::to_string(ATipoAjuste) + " ";
  const std::string t = GetTipoImposto();
  return Format(colunas + " FROM LUCROREALAJUSTEPISCOFINS AJ " + onde + " UNION ALL " + colunas +
                    " FROM LUCROPRESAJUSTEPISCOFINS AJ " + onde + "%s",
                {t, t, t, t, std::string(" ORDER BY 4, 5, 8 ")});
}

void TRepoPisCofinsBlocoM::CarregarAjustesM110_510_220_620Lcto() {
  auto ds = ExecutarSQLInt(GetSqlM110_510_220_620LctoAjuste(0), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapAjusteCred m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    TRecM110_510_220_620 r;
    r.IND_AJ = m.INDAJUSTE.AsString();
    r.VL_AJ = m.VALOR.AsFloat();
    r.COD_AJ = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODIGOAJUSTE.AsString());
    r.NUM_DOC = m.NUMPROCESSO.AsString();
    r.DESCR_AJ = m.DESCAJUSTE.AsString();
    r.DT_REF = m.DATALCTOFIS.IsNull() ? "" : FormatDateTime("ddmmyyyy", m.DATALCTOFIS.AsDateTime());
    r.CST = static_cast<int>(m.CDSITUATRIBUT.AsInteger());
    const std::string natureza = m.NATAJUSTE.AsString();
    r.AliquotaMestre = m.ALIQUOTA.AsFloat();
    // Natureza já é um tipo de crédito (4.3.06): o ajuste vai direto para esse M100.
    r.TipoCreditoMestre = TnFisFuncoes::GetTabelaSPEDTipoDebitoTipoCredito(natureza) == "4.3.06"
                              ? TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(natureza)
                              : GetTipoCreditoMestre(r.CST, m.CODIGOCFOP.AsString(), r.AliquotaMestre, natureza);
    GerarM110_510(r);
  }
  Nutildb::DestruirSQL(ds);
}

// ------------------------------------------------------------------ crédito descontado

std::string TRepoPisCofinsBlocoM::GetSqlTotalCredDescontarM100_500() const {
  // O estabelecimento vai como número validado (1 quando a execução é da empresa inteira).
  return " SELECT  T.IMPOSTO,  T.CODCRED,  SUM(T.VLCREDDESCEFD) VLCREDDESCEFD  FROM TOTALLUCROREALCREDSPED T  WHERE "
         "T.CODIGOEMPRESA = :CODIGOEMPRESA  AND T.CODIGOESTAB = " +
         std::to_string(EstabComoInteiro(FConfigBlocoM.CodigoEstab)) +
         " AND T.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL " +
         " AND T.PERAPUCRED BETWEEN :DATAINICIAL AND :DATAFINAL " + " GROUP BY " + " T.IMPOSTO, " + " T.CODCRED ";
}

// Cada código consome os M100 do mesmo código na ordem das chaves; cada um recebe no máximo o
// seu crédito disponível ainda não descontado. O que sobra não tem onde ir e é descartado.
void TRepoPisCofinsBlocoM::CarregarTotalCredDescontarM100_500() {
  auto ds = ExecutarSQLInt(GetSqlTotalCredDescontarM100_500(), GetFiltroEmpresaPeriodo(), true, false, -1);
  TMapCredDescontar m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    if (m.IMPOSTO.AsInteger() != FImposto) continue;
    const std::string codigo = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODCRED.AsString());
    double resto = Nutil::RoundValor(m.VLCREDDESCEFD.AsFloat(), 2);
    for (auto* m100 : FLstM100_500->GetListaOrdenada()) {
      if (resto <= 0) break;
      if (m100->FCOD_CRED != codigo) continue;
      const double livre = Nutil::RoundValor(m100->GetVL_CRED_DISP(), 2) - Nutil::RoundValor(m100->FVL_CRED_DESC, 2);
      if (livre <= 0) continue;
      const double parte = std::min(resto, livre);
      m100->FVL_CRED_DESC = Nutil::RoundValor(m100->FVL_CRED_DESC + parte, 2);
      resto = Nutil::RoundValor(resto - parte, 2);
    }
  }
  Nutildb::DestruirSQL(ds);
}
