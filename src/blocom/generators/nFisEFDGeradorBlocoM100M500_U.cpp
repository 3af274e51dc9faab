#include "blocom/generators/nFisEFDGeradorBlocoM100M500_U.h"

#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "host/Nutildb.h"

namespace {
TM100_500CreditoImpostoList& ListaCredito(TnFisEFDControleBlocoM& AControle, int16_t AImposto, TTipoApuracao ATipo) {
  auto& m001 = AControle.GetRegistroM001(ATipo);
  return AImposto == 15 ? m001.FM100List : m001.FM500List;
}

struct TMapCred : TRowMap {
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(INDCREDORI);
  PISCO_CAMPO(ALIQ);
  PISCO_CAMPO(ALIQQUANT);
  PISCO_CAMPO(VLCRED);
  PISCO_CAMPO(VLCREDDIF);
  PISCO_CAMPO(VLCREDDESC);
};

struct TMapCredDet : TRowMap {
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(SEQCRED);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(VLBCTOT);
  PISCO_CAMPO(VLBCCUM);
  PISCO_CAMPO(VLBCNCUM);
  PISCO_CAMPO(VLBC);
  PISCO_CAMPO(QUANTBCTOT);
  PISCO_CAMPO(QUANTBC);
  PISCO_CAMPO(DESCCRED);
};

struct TMapAjuste : TRowMap {
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(SEQCREDDEB);
  PISCO_CAMPO(TIPOAJUSTE);
  PISCO_CAMPO(INDAJ);
  PISCO_CAMPO(VLAJ);
  PISCO_CAMPO(CODAJ);
  PISCO_CAMPO(NUMDOC);
  PISCO_CAMPO(DESCRAJ);
  PISCO_CAMPO(DTREF);
};

struct TMapAjusteDet : TRowMap {
  PISCO_CAMPO(SEQCREDDEB);
  PISCO_CAMPO(SEQAJUSTE);
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(DETBCCRED);
  PISCO_CAMPO(DETALIQ);
  PISCO_CAMPO(DETVALORAJ);
  PISCO_CAMPO(DTOPERAJ);
  PISCO_CAMPO(DESCAJ);
  PISCO_CAMPO(CODCTA);
  PISCO_CAMPO(INFOCOMPL);
};
}  // namespace

std::string DataTotalEFD(const TFieldRef& ACampo) {
  if (ACampo.IsNull()) return "";
  const TDateTime d = ACampo.AsDateTime();
  return d > 0 ? FormatDateTime("ddmmyyyy", d) : std::string();
}

TM100_500CreditoImpostoList& TnFisEFDGeradorM100_M500::GetLstM100_500(TTipoApuracao ATipo) {
  return ListaCredito(Controle(), FImposto, ATipo);
}
TM100_500CreditoImpostoList& TnFisEFDGeradorM105_M505::GetLstM100_500(TTipoApuracao ATipo) {
  return ListaCredito(Controle(), FImposto, ATipo);
}
TM100_500CreditoImpostoList& TnFisEFDGeradorM110_M510::GetLstM100_500(TTipoApuracao ATipo) {
  return ListaCredito(Controle(), FImposto, ATipo);
}
TM100_500CreditoImpostoList& TnFisEFDGeradorM115_M515::GetLstM100_500(TTipoApuracao ATipo) {
  return ListaCredito(Controle(), FImposto, ATipo);
}

// --- M100/M500 ---

void TnFisEFDGeradorM100_M500EFD::CriarGeradoresFilhos() {
  CriarFilho<TnFisEFDGeradorM105_M505EFD>();
  CriarFilho<TnFisEFDGeradorM110_M510EFD>();
}

void TnFisEFDGeradorM100_M500EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFD(" SEQ,  TIPOCREDITO,  INDCREDORI,  ALIQ,  ALIQQUANT,  VLCRED,  VLCREDDIF,  VLCREDDESC ",
                                          "TOTALEFDCRED"),
                           GetParamsTotalEFD(), false, false, -1);
  TMapCred m;
  FieldMapper().MapearFields(*ds, m);
  auto& lista = GetLstM100_500(TTipoApuracao::taEFD);
  for (; !ds->Eof(); ds->Next()) {
    auto reg = std::make_unique<TM100_500CreditoImposto>();
    reg->FCOD_CRED = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.TIPOCREDITO.AsString());
    reg->FIND_CRED_ORI = static_cast<int>(m.INDCREDORI.AsInteger());
    reg->FALIQ = m.ALIQ.AsFloat();
    reg->FALIQ_QUANT = m.ALIQQUANT.AsFloat();
    reg->FVL_CRED = m.VLCRED.AsFloat();
    reg->FVL_CRED_DIF = m.VLCREDDIF.AsFloat();
    reg->FVL_CRED_DESC = m.VLCREDDESC.AsFloat();
    lista.Add(MontarChave(m.SEQ.AsInteger()), std::move(reg));
  }
  Nutildb::DestruirSQL(ds);
}

// --- M105/M505 ---

void TnFisEFDGeradorM105_M505EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(
      GetSqlTotalEFD(" SEQ,  SEQCRED,  TIPOCREDITO,  CST,  VLBCTOT,  VLBCCUM,  VLBCNCUM,  VLBC,  QUANTBCTOT,  QUANTBC,  DESCCRED ",
                     "TOTALEFDCREDDET"),
      GetParamsTotalEFD(), false, false, -1);
  TMapCredDet m;
  FieldMapper().MapearFields(*ds, m);
  auto& lista = GetLstM100_500(TTipoApuracao::taEFD);
  for (; !ds->Eof(); ds->Next()) {
    auto reg = std::make_unique<TM105_505DetalheBCCredito>();
    reg->FNAT_BC_CRED = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.TIPOCREDITO.AsString());
    reg->FNAT_BC_CRED2 = m.TIPOCREDITO.AsString();
    reg->FCST = static_cast<int>(m.CST.AsInteger());
    reg->FVL_BC_TOT = m.VLBCTOT.AsFloat();
    reg->FVL_BC_CUM = m.VLBCCUM.AsFloat();
    reg->FVL_BC = m.VLBC.AsFloat();
    reg->FQUANT_BC_TOT = m.QUANTBCTOT.AsFloat();
    reg->FQUANT_BC = m.QUANTBC.AsFloat();
    reg->FDESC_CRED = m.DESCCRED.AsString();
    auto& pai = lista.Items(MontarChave(m.SEQCRED.AsInteger()));
    pai.FM105_505List.Add(MontarChave(m.SEQ.AsInteger()), std::move(reg));
  }
  Nutildb::DestruirSQL(ds);
}

// --- M110/M510 ---

void TnFisEFDGeradorM110_M510EFD::CriarGeradoresFilhos() { CriarFilho<TnFisEFDGeradorM115_M515EFD>(); }

void CarregarAjustesEFD(std::unique_ptr<TDataSet> ADs,
                        const std::function<TM110_510_220_620AjusteCredImpList&(int64_t)>& AAjustesDoPai) {
  TMapAjuste m;
  FieldMapper().MapearFields(*ADs, m);
  for (; !ADs->Eof(); ADs->Next()) {
    auto reg = std::make_unique<TM110_510_220_620AjusteCredImp>();
    reg->FIND_AJ = m.INDAJ.AsString();
    reg->FVL_AJ = m.VLAJ.AsFloat();
    reg->FCOD_AJ = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODAJ.AsString());
    reg->FNUM_DOC = m.NUMDOC.AsString();
    reg->FDESCR_AJ = m.DESCRAJ.AsString();
    reg->FDT_REF = DataTotalEFD(m.DTREF);
    AAjustesDoPai(m.SEQCREDDEB.AsInteger()).Add(TnFisEFDGeradorBlocoM::MontarChave(m.SEQ.AsInteger()), std::move(reg));
  }
  Nutildb::DestruirSQL(ADs);
}

void TnFisEFDGeradorM110_M510EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFD(kCamposAjusteEFD, "TOTALEFDAJUSTE", " AND TIPOAJUSTE = 0"), GetParamsTotalEFD(),
                           false, false, -1);
  auto& lista = GetLstM100_500(TTipoApuracao::taEFD);
  CarregarAjustesEFD(std::move(ds), [&](int64_t seq) -> TM110_510_220_620AjusteCredImpList& {
    return lista.Items(MontarChave(seq)).FM110_510List;
  });
}

// --- M115/M515 ---

// Detalhes dos ajustes do tipo dado (0 crédito, 1 contribuição), com a tabela do ajuste.
std::string GetSqlTotalEFDAjusteDet(bool AEstab, int ATipoAjuste) {
  const std::string suf = AEstab ? "ESTAB" : "";
  std::string sql = " SELECT  A.SEQCREDDEB,  T.SEQAJUSTE,  T.SEQ,  T.CST,  T.DETBCCRED,  T.DETALIQ,  T.DETVALORAJ,  "
                    "T.DTOPERAJ,  T.DESCAJ,  T.CODCTA,  T.INFOCOMPL  FROM TOTALEFDAJUSTEDET" +
                    suf + " T " + " JOIN TOTALEFDAJUSTE" + suf + " A " + " ON T.CODIGOEMPRESA = A.CODIGOEMPRESA " +
                    " AND T.DATATOTAL = A.DATATOTAL " + " AND T.TIPOIMPOSTO = A.TIPOIMPOSTO " +
                    " AND T.SEQAJUSTE = A.SEQ ";
  if (AEstab) sql += " AND T.CODIGOESTAB = A.CODIGOESTAB ";
  sql += " WHERE T.CODIGOEMPRESA = :CODIGOEMPRESA ";
  if (AEstab) sql += " AND T.CODIGOESTAB = :CODIGOESTAB ";
  sql += " AND T.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL ";
  sql += " AND T.TIPOIMPOSTO = :TIPOIMPOSTO ";
  sql += " AND A.TIPOAJUSTE = " + std::to_string(ATipoAjuste) + " ";
  return sql;
}

void CarregarDetalhesAjusteEFD(TnFisEFDGeradorBlocoM& AGerador, std::unique_ptr<TDataSet> ADs,
                               const std::function<TM110_510_220_620AjusteCredImpList&(int64_t)>& AAjustesDoPai) {
  TMapAjusteDet m;
  FieldMapper().MapearFields(*ADs, m);
  for (; !ADs->Eof(); ADs->Next()) {
    auto reg = std::make_unique<TM115_515_225_625AjusteCredDet>();
    reg->DET_VALOR_AJ = m.DETVALORAJ.AsFloat();
    reg->CST = static_cast<int>(m.CST.AsInteger());
    reg->DET_BC_CRED = m.DETBCCRED.AsFloat();
    reg->DET_ALIQ = m.DETALIQ.AsFloat();
    reg->DT_OPER_AJ = DataTotalEFD(m.DTOPERAJ);
    reg->DESC_AJ = m.DESCAJ.AsString();
    reg->COD_CTA = m.CODCTA.AsString();
    reg->INFO_COMPL = m.INFOCOMPL.AsString();
    auto& ajuste = AAjustesDoPai(m.SEQCREDDEB.AsInteger()).Items(AGerador.MontarChave(m.SEQAJUSTE.AsInteger()));
    ajuste.FM115_515_225_625List.Add(AGerador.MontarChave(m.SEQ.AsInteger()), std::move(reg));
  }
  Nutildb::DestruirSQL(ADs);
}

void TnFisEFDGeradorM115_M515EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFDAjusteDet(GetModoGeracao() != TModoGeracao::mgEmpresa, 0), GetParamsTotalEFD(),
                           false, false, -1);
  auto& lista = GetLstM100_500(TTipoApuracao::taEFD);
  CarregarDetalhesAjusteEFD(*this, std::move(ds), [&](int64_t seq) -> TM110_510_220_620AjusteCredImpList& {
    return lista.Items(MontarChave(seq)).FM110_510List;
  });
}
