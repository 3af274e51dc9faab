#include "blocom/generators/nFisEFDGeradorBlocoM105M505Lcto_U.h"

#include "base/Nutil.h"
#include "blocom/generators/nFisEFDGeradorBlocoM100M500Lcto_U.h"
#include "blocom/generators/nFisEFDGeradorTotalCST_U.h"
#include "host/ControlesFiscais.h"
#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"

namespace {
struct TMap105_505 : TRowMap {
  PISCO_CAMPO(CST);
  PISCO_CAMPO(ALIQ);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(CODIGOCFOP);
  PISCO_CAMPO(DACONTIPORECEITA);
  PISCO_CAMPO(BASECALCULOPISCOFINS);
  PISCO_CAMPO(QUANTIDADE);
};
struct TMapDemaisDoc : TRowMap {
  PISCO_CAMPO(ORIGEMCREDITO);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(BASECALCULO);
  PISCO_CAMPO(ALIQ);
};
struct TMapEstoq : TRowMap {
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(ALIQ);
  PISCO_CAMPO(TIPOAPURACAO);
  PISCO_CAMPO(VLRBCMENEST);
};


void Natureza(TRecM105_505& ARec, const std::string& ACodigo) {
  ARec.NAT_BC_CRED = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(ACodigo);
  ARec.NAT_BC_CRED2 = ACodigo;
}
}  // namespace


std::string TnFisEFDGeradorM105_M505Lcto::GetTipoCreditoMestreBem(int ACst, int AOrigemBem) {
  return GetTipoCreditoRegime(ACst) + (AOrigemBem == 1 ? "08" : "01");
}

TM100_500CreditoImposto& TnFisEFDGeradorM105_M505Lcto::GetM100_500(TTipoApuracao ATipo, const std::string& ACodigo,
                                                                   double AAliquota, double AAliquotaQtd,
                                                                   int AOrigem) {
  return ObterCreditoLcto(GetLstM100_500(ATipo), ACodigo, AAliquota, AAliquotaQtd, AOrigem);
}

void TnFisEFDGeradorM105_M505Lcto::CarregarDados() {
  GerarTotaisEFD();
  CarregarDadosLcto();
  CarregarDadosBem();
  CarregarDadosEstoqAbertura();
  CarregarDadosDemaisDoc();
  FGerarTotalEFD.reset();
}

void TnFisEFDGeradorM105_M505Lcto::GerarTotaisEFD() {
  FGerarTotalEFD = std::make_unique<TnFisEFDGeradorTotalCST>();
  auto& t = *FGerarTotalEFD;
  t.FCodigoEmpresa = GetCodigoEmpresa();
  t.FCodigoEstab = GetCodigoEstab();
  t.FDataInicial = GetDataInicial();
  t.FDataFinal = GetDataFinal();
  t.FProcessarCredito = true;
  t.FModoApuracao = true;
  t.FReceitas = {rTributadas};
  t.GerarTotais();
}

// Cada fonte parte de um registro zerado (tipo de apuração 0) e só escreve o que tem.
void TnFisEFDGeradorM105_M505Lcto::CarregarDadosLcto() {
  auto* ds = FGerarTotalEFD->FcurEntradaLcto.get();
  if (!ds) return;
  TMap105_505 m;
  FieldMapper().MapearFields(*ds, m);
  TRecM105_505 r;
  for (ds->First(); !ds->Eof(); ds->Next()) {
    if (static_cast<int>(m.TIPOIMPOSTO.AsInteger()) != FImposto) continue;
    Natureza(r, m.TIPOCREDITO.AsString());
    r.CST = static_cast<int>(m.CST.AsInteger());
    const double qtd = m.QUANTIDADE.AsFloat();
    // Crédito por unidade: a base é a quantidade, o valor fica zerado.
    if (qtd > 0) {
      r.VL_BC_TOT = 0;
      r.TipoCredM100_M500 = GetTipoCreditoRegime(r.CST) + "03";
    } else {
      r.VL_BC_TOT = m.BASECALCULOPISCOFINS.AsFloat();
      r.TipoCredM100_M500 = GetTipoCreditoMestre(r.CST, m.TIPOCREDITO.AsString(), m.ALIQ.AsFloat(), std::to_string(static_cast<int>(m.CODIGOCFOP.AsInteger())),
                                                 static_cast<int>(m.DACONTIPORECEITA.AsInteger()));
    }
    r.QUANT_BC_TOT = r.QUANT_BC = qtd;
    r.AliquotaM100_M500 = m.ALIQ.AsFloat();
    r.TipoApuracao = GetTipoApuracao(static_cast<int>(m.DACONTIPORECEITA.AsInteger()));
    ProcessarM105_505(r);
  }
}

void TnFisEFDGeradorM105_M505Lcto::CarregarDadosBem() {
  auto* ds = FGerarTotalEFD->FcurEntCreditoBem.get();
  if (!ds) return;
  TMapEntCreditoBem m;
  FieldMapper().MapearFields(*ds, m);
  TRecM105_505 r;
  for (ds->First(); !ds->Eof(); ds->Next()) {
    Natureza(r, m.TipoCredito.AsString());
    r.CST = static_cast<int>((FImposto == 15 ? m.CSTPIS : m.CSTCOFINS).AsInteger());
    r.VL_BC_TOT = m.QuotaMensal.AsFloat();
    r.TipoCredM100_M500 = GetTipoCreditoMestreBem(r.CST, static_cast<int>(m.OrigemBem.AsInteger()));
    r.AliquotaM100_M500 = (FImposto == 15 ? m.AliquotaPis : m.AliquotaCofins).AsFloat();
    r.TipoApuracao = GetTipoApuracao(static_cast<int>(m.TipoApuracao.AsInteger()));
    ProcessarM105_505(r);
  }
}

void TnFisEFDGeradorM105_M505Lcto::CarregarDadosEstoqAbertura() {
  auto* ds = FGerarTotalEFD->FcurEntEstoqAbert.get();
  if (!ds || ds->IsEmpty()) return;
  TMapEstoq m;
  FieldMapper().MapearFields(*ds, m);
  TRecM105_505 r;
  for (ds->First(); !ds->Eof(); ds->Next()) {
    if (static_cast<int>(m.TIPOIMPOSTO.AsInteger()) != FImposto) continue;
    Natureza(r, m.TIPOCREDITO.AsString());
    r.CST = static_cast<int>(m.CST.AsInteger());
    r.VL_BC_TOT = m.VLRBCMENEST.AsFloat();
    r.TipoCredM100_M500 = GetTipoCreditoRegime(r.CST) + "04";
    r.AliquotaM100_M500 = m.ALIQ.AsFloat();
    r.TipoApuracao = GetTipoApuracao(static_cast<int>(m.TIPOAPURACAO.AsInteger()));
    ProcessarM105_505(r);
  }
}

void TnFisEFDGeradorM105_M505Lcto::CarregarDadosDemaisDoc() {
  auto* ds = FGerarTotalEFD->FcurEntDemaisDoc.get();
  if (!ds) return;
  TMapDemaisDoc m;
  FieldMapper().MapearFields(*ds, m);
  TRecM105_505 r;
  for (ds->First(); !ds->Eof(); ds->Next()) {
    if (static_cast<int>(m.TIPOIMPOSTO.AsInteger()) != FImposto) continue;
    Natureza(r, m.TIPOCREDITO.AsString());
    r.CST = static_cast<int>(m.CST.AsInteger());
    r.VL_BC_TOT = m.BASECALCULO.AsFloat();
    r.DESC_CRED.clear();
    // Importação (origem 1): classe "08" qualquer que seja a alíquota.
    r.TipoCredM100_M500 = static_cast<int>(m.ORIGEMCREDITO.AsInteger()) == 1 ? GetTipoCreditoRegime(r.CST) + "08"
                                                     : GetTipoCreditoMestre(r.CST, m.TIPOCREDITO.AsString(), m.ALIQ.AsFloat(), "0", 0);
    r.AliquotaM100_M500 = m.ALIQ.AsFloat();
    ProcessarM105_505(r);
  }
}

void TnFisEFDGeradorM105_M505Lcto::ProcessarM105_505(const TRecM105_505& ARec) {
  auto lista = SepararPorCST(ARec);
  AplicarProporcoes(lista);
  for (const auto& r : lista) GerarM105_505(r);
}

std::vector<TRecM105_505> TnFisEFDGeradorM105_M505Lcto::SepararPorCST(const TRecM105_505& ARec) {
  const auto& seletores = SeletoresReceitaCST(ARec.CST);
  if (seletores.empty()) return {ARec};
  std::vector<TRecM105_505> r;
  for (int sel : seletores) {
    TRecM105_505 parte = ARec;
    parte.QUANT_BC = Nutil::RoundValor(ARec.QUANT_BC * GetProporcao(ARec.CST, sel), 2);
    parte.TipoCredM100_M500 = GetTipoCreditoReceita(ARec.TipoCredM100_M500, sel);
    r.push_back(std::move(parte));
  }
  return r;
}

void TnFisEFDGeradorM105_M505Lcto::AplicarProporcoes(std::vector<TRecM105_505>& ALista) {
  const bool semArredondar = nConfig().ApuracaoImpostoPisCofinsArredondamento();
  const auto ajustar = [&](double v) { return semArredondar ? v : Nutil::RoundValor(v, 2); };
  for (auto& r : ALista) {
    r.VL_BC_CUM = ajustar(r.VL_BC_TOT * GetProporcao(r.CST, 3));
    r.VL_BC = ajustar(r.VL_BC_TOT * GetProporcao(r.CST, r.TipoCredM100_M500));
  }
}

void TnFisEFDGeradorM105_M505Lcto::GerarM105_505(const TRecM105_505& ARec) {
  const std::string chave = ARec.NAT_BC_CRED + "|" + std::to_string(ARec.CST);
  const auto tipo = static_cast<TTipoApuracao>(ARec.TipoApuracao);
  auto& pai = ARec.QUANT_BC_TOT > 0 ? GetM100_500(tipo, ARec.TipoCredM100_M500, 0, ARec.AliquotaM100_M500, 0)
                                    : GetM100_500(tipo, ARec.TipoCredM100_M500, ARec.AliquotaM100_M500, 0, 0);
  if (auto* det = pai.FM105_505List.TryGetValue(chave)) {
    det->FVL_BC_TOT += ARec.VL_BC_TOT;
    det->FVL_BC_CUM += ARec.VL_BC_CUM;
    det->FVL_BC = det->GetVL_BC() + ARec.VL_BC;
    det->FQUANT_BC_TOT += ARec.QUANT_BC_TOT;
    det->FQUANT_BC += ARec.QUANT_BC;
    return;
  }
  auto det = std::make_unique<TM105_505DetalheBCCredito>();
  det->FNAT_BC_CRED = ARec.NAT_BC_CRED;
  det->FNAT_BC_CRED2 = ARec.NAT_BC_CRED2;
  det->FCST = ARec.CST;
  det->FVL_BC_TOT = ARec.VL_BC_TOT;
  det->FVL_BC_CUM = ARec.VL_BC_CUM;
  det->FVL_BC = ARec.VL_BC;
  det->FQUANT_BC_TOT = ARec.QUANT_BC_TOT;
  det->FQUANT_BC = ARec.QUANT_BC;
  det->FDESC_CRED = ARec.NAT_BC_CRED == "13" ? "Outras Operações com Direito a Crédito" : "";
  pai.FM105_505List.Add(chave, std::move(det));
}
