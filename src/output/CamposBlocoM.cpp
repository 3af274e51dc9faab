#include "output/CamposBlocoM.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>

#include "base/DateTime.h"
#include "base/Erros.h"
#include "base/Nutil.h"

namespace {

using V = TValorCampo;

V Dec(double AValor) { return V::DeDecimal(AValor); }
V Txt(std::string ATexto) { return V::DeTexto(std::move(ATexto)); }

// Campos C(2) guardados como texto: um código numérico de um dígito ganha o zero à esquerda.
V Codigo2(const std::string& ACodigo) {
  if (ACodigo.size() == 1 && std::isdigit(static_cast<unsigned char>(ACodigo[0])))
    return Txt("0" + ACodigo);
  return Txt(ACodigo);
}

// CST com dois dígitos; 0 (sem CST, como nos detalhes criados automaticamente) fica vazio.
V Cst(int ACst) { return ACst > 0 ? Txt(fmt::format("{:02d}", ACst)) : V::Nulo(); }

V Data(TDateTime AData) {
  if (static_cast<int64_t>(AData) == 0) return V::Nulo();
  return Txt(FormatDateTime("ddmmyyyy", AData));
}

V Se(bool ACondicao, V AValor) { return ACondicao ? std::move(AValor) : V::Nulo(); }

}  // namespace

const TNomesBlocoM& NomesPIS() {
  static const TNomesBlocoM nomes{"M100", "M105", "M110", "M115", "M200", "M205", "M210", "M211",
                                  "M215", "M220", "M225", "M230", "M300", "M400", "M410"};
  return nomes;
}

const TNomesBlocoM& NomesCOFINS() {
  static const TNomesBlocoM nomes{"M500", "M505", "M510", "M515", "M600", "M605", "M610", "M611",
                                  "M615", "M620", "M625", "M630", "M700", "M800", "M810"};
  return nomes;
}

TCampos CamposM001(bool ATemMovimento) { return {Txt(ATemMovimento ? "0" : "1")}; }

TCampos CamposM100(const TM100_500CreditoImposto& r) {
  const bool qtd = PorQuantidade(r);
  return {Txt(r.FCOD_CRED),
          V::DeInteiro(r.FIND_CRED_ORI),
          Se(!qtd, Dec(r.GetVL_BC())),
          Se(!qtd, Dec(r.FALIQ)),
          Se(qtd, Dec(r.GetQUANT_BC())),
          Se(qtd, Dec(r.FALIQ_QUANT)),
          Dec(r.GetVL_CRED()),
          Dec(r.GetVL_AJUS_ACRES()),
          Dec(r.GetVL_AJUS_REDUC()),
          Dec(r.FVL_CRED_DIF),
          Dec(r.GetVL_CRED_DISP()),
          Txt(r.GetIND_DESC_CRED() ? "1" : "0"),
          Dec(r.FVL_CRED_DESC),
          Dec(r.GetSLD_CRED())};
}

TCampos CamposM105(const TM105_505DetalheBCCredito& r, bool APorQuantidade) {
  const bool qtd = APorQuantidade;
  return {Codigo2(r.FNAT_BC_CRED),
          Cst(r.FCST),
          Se(!qtd, Dec(r.FVL_BC_TOT)),
          Se(!qtd, Dec(r.FVL_BC_CUM)),
          Se(!qtd, Dec(r.GetVL_BC_NC())),
          Se(!qtd, Dec(r.GetVL_BC())),
          Se(qtd, Dec(r.FQUANT_BC_TOT)),
          Se(qtd, Dec(r.FQUANT_BC)),
          Txt(r.FDESC_CRED)};
}

TCampos CamposM110(const TM110_510_220_620AjusteCredImp& r) {
  return {Txt(r.FIND_AJ), Dec(r.GetVL_AJ()), Codigo2(r.FCOD_AJ),
          Txt(r.FNUM_DOC), Txt(r.FDESCR_AJ), Txt(r.FDT_REF)};
}

TCampos CamposM115(const TM115_515_225_625AjusteCredDet& r) {
  return {Dec(r.DET_VALOR_AJ), Cst(r.CST),     Dec(r.DET_BC_CRED), Dec(r.DET_ALIQ),
          Txt(r.DT_OPER_AJ),   Txt(r.DESC_AJ), Txt(r.COD_CTA),     Txt(r.INFO_COMPL)};
}

TCampos CamposM200(const TM200_600ConsolidContribImposto& r) {
  return {Dec(r.GetVL_TOT_CONT_NC_PER()), Dec(r.GetVL_TOT_CRED_DESC()),
          Dec(r.FVL_TOT_CRED_DESC_ANT),   Dec(r.GetVL_TOT_CONT_NC_DEV()),
          Dec(r.FVL_RET_NC),              Dec(r.FVL_OUT_DED_NC),
          Dec(r.GetVL_CONT_NC_REC()),     Dec(r.GetVL_TOT_CONT_CUM_PER()),
          Dec(r.FVL_RET_CUM),             Dec(r.FVL_OUT_DED_CUM),
          Dec(r.GetVL_CONT_CUM_REC()),    Dec(r.GetVL_TOT_CONT_REC())};
}

TCampos CamposM205(const TM205_605ContribRecolher& r) {
  return {Codigo2(r.NUM_CAMPO), Txt(r.COD_REC), Dec(r.VL_DEBITO)};
}

TCampos CamposM210(const TM210_610DetalheContrib& r) {
  const bool qtd = PorQuantidade(r);
  return {Codigo2(r.FCOD_CONT),
          Dec(r.FVL_REC_BRT),
          Dec(r.GetVL_BC_CONT()),
          Dec(r.GetVL_AJUS_ACRES_BC_PIS()),
          Dec(r.GetVL_AJUS_REDUC_BC_PIS()),
          Dec(r.GetVL_BC_CONT_AJUS()),
          Se(!qtd, Dec(r.FALIQ)),
          Se(qtd, Dec(r.FQUANT_BC)),
          Se(qtd, Dec(r.FALIQ_QUANT)),
          Dec(r.GetVL_CONT_APUR()),
          Dec(r.GetVL_AJUS_ACRES()),
          Dec(r.GetVL_AJUS_REDUC()),
          Dec(r.GetVL_CONT_DIFER()),
          Dec(r.GetVL_CONT_DIFER_ANT()),
          Dec(r.GetVL_CONT_PER())};
}

TCampos CamposM211(const TM211_611CoopComposBC& r) {
  return {Txt(fmt::format("{:02d}", r.FIND_TIP_COOP)), Dec(r.FVL_BC_CONT_ANT_EXC_COOP),
          Dec(r.FVL_EXC_COOP_GER), Dec(r.FVL_EXC_ESP_COOP), Dec(r.GetVL_BC_CONT())};
}

TCampos CamposM215(const TM215_615AjusteBCContribPIS& r) {
  return {V::DeInteiro(r.FIND_AJ_BC), Dec(r.FVL_AJ_BC),    Codigo2(r.FCOD_AJ_BC),
          Txt(r.FNUM_DOC),            Txt(r.FDESCR_AJ_BC), Txt(r.FDT_REF),
          Txt(r.FCOD_CTA),            Txt(r.FCNPJ),        Txt(r.FINFO_COMPL)};
}

TCampos CamposM230(const TM230_630InfAdicDiferido& r) {
  return {Txt(r.FCNPJ),        Dec(r.FVL_VEND),     Dec(r.FVL_NAO_RECEB),
          Dec(r.FVL_CONT_DIF), Dec(r.FVL_CRED_DIF), Txt(r.FCOD_CRED)};
}

TCampos CamposM300(const TM300_700DiferidoPerAnt& r) {
  return {Codigo2(r.FCOD_CONT),          Dec(r.FVL_CONT_APUR_DIFER), Codigo2(r.FNAT_CRED_DESC),
          Dec(r.FVL_CRED_DESC_DIFER),    Dec(r.GetVL_CONT_DIFER_ANT()),
          Txt(r.FPER_APUR),              Data(r.FDT_RECEB)};
}

TCampos CamposM350(const TM350FolhaSalarioPIS& r) {
  return {Dec(r.VL_TOT_FOL), Dec(r.VL_EXC_BC), Dec(r.VL_TOT_BC), Dec(r.ALIQ_PIS_FOL),
          Dec(r.VL_TOT_CONT_FOL)};
}

TCampos CamposM400(const TM400_800ReceitaIsenta& r) {
  return {Cst(r.FCST), Dec(r.GetVL_TOT_REC()), Txt(r.FCOD_CTA), Txt(r.FDESC_COMPL)};
}

TCampos CamposM410(const TM410_810DetalRecIsenta& r) {
  return {Txt(r.NAT_REC), Dec(r.VL_REC), Txt(r.COD_CTA), Txt(r.DESC_COMPL)};
}

TCampos CamposM990(int AQuantidadeLinhas) { return {V::DeInteiro(AQuantidadeLinhas)}; }

double ValorArredondado(const TValorCampo& AValor, const TCampoLayout& ACampo) {
  if (AValor.Tipo != TValorCampo::TTipo::Decimal || ACampo.Casas < 0)
    throw EPisco("Campo " + ACampo.Campo + " do Bloco M não é um valor com casas decimais");
  const double valor = Nutil::RoundValor(AValor.Decimal, ACampo.Casas);
  return valor == 0 ? 0.0 : valor;  // nunca "-0,00"
}

std::string FormatarCampo(const TValorCampo& AValor, const TCampoLayout& ACampo) {
  switch (AValor.Tipo) {
    case TValorCampo::TTipo::Vazio:
      return {};
    case TValorCampo::TTipo::Inteiro:
      return std::to_string(AValor.Inteiro);
    case TValorCampo::TTipo::Decimal: {
      std::string texto = fmt::format("{:.{}f}", ValorArredondado(AValor, ACampo), ACampo.Casas);
      std::replace(texto.begin(), texto.end(), '.', ',');
      return texto;
    }
    case TValorCampo::TTipo::Texto:
      break;
  }
  // O separador e as quebras de linha não podem aparecer dentro de um campo.
  std::string texto = AValor.Texto;
  for (char& c : texto)
    if (c == '|' || c == '\r' || c == '\n') c = ' ';
  return texto;
}
