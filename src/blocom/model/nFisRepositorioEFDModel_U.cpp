#include "blocom/model/nFisRepositorioEFDModel_U.h"

#include <cctype>
#include <charconv>
#include <type_traits>

#include "base/Nutil.h"

namespace {

double R2(double AValor) { return Nutil::RoundValor(AValor, 2); }

// Código de contribuição como número; texto que não é número vale 0 (como StrToIntDef).
int CodigoNumerico(const std::string& ATexto) {
  size_t ini = 0;
  while (ini < ATexto.size() && std::isspace(static_cast<unsigned char>(ATexto[ini]))) ++ini;
  const char* p = ATexto.data() + ini;
  const char* fim = ATexto.data() + ATexto.size();
  if (p != fim && *p == '+') ++p;
  int valor = 0;
  auto [resto, erro] = std::from_chars(p, fim, valor);
  if (erro != std::errc() || resto != fim) return 0;
  return valor;
}

bool CodigoNaoCumulativo(int ACodigo) {
  switch (ACodigo) {
    case 1: case 2: case 3: case 4: case 32: case 71:
      return true;
    default:
      return false;
  }
}

bool CodigoCumulativo(int ACodigo) {
  switch (ACodigo) {
    case 31: case 32: case 51: case 52: case 53: case 54: case 72:
      return true;
    default:
      return false;
  }
}

// Percorre a origem na sua ordem de inclusão; o destino ganha um registro novo (com os campos
// de identificação copiados por ACopiar) quando não tem a chave, e ASomar junta os valores.
template <class TLista, class TCopiar, class TSomar>
void TotalizarLista(TLista& ADestino, const TLista& AOrigem, TCopiar ACopiar, TSomar ASomar) {
  using TRegistro = std::remove_reference_t<decltype(*AOrigem.begin()->second)>;
  for (const auto& [chave, origem] : AOrigem) {
    TRegistro* destino = ADestino.TryGetValue(chave);
    if (!destino) {
      auto novo = std::make_unique<TRegistro>();
      ACopiar(*novo, *origem);
      destino = &ADestino.Add(chave, std::move(novo));
    }
    ASomar(*destino, *origem);
  }
}

}  // namespace

// --- M110 / M115 -----------------------------------------------------------------------

double TM110_510_220_620AjusteCredImp::GetVL_AJ() const {
  if (FM115_515_225_625List.Vazia()) return FVL_AJ;
  double soma = 0;
  for (const auto& [chave, det] : FM115_515_225_625List) soma += det->DET_VALOR_AJ;
  return soma;
}

void TM115_515_225_625AjusteCredDetList::Totalizar(
    const TM115_515_225_625AjusteCredDetList& AOrigem) {
  using T = TM115_515_225_625AjusteCredDet;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.CST = o.CST;
        d.DET_ALIQ = o.DET_ALIQ;
        d.DT_OPER_AJ = o.DT_OPER_AJ;
        d.DESC_AJ = o.DESC_AJ;
        d.COD_CTA = o.COD_CTA;
        d.INFO_COMPL = o.INFO_COMPL;
      },
      [](T& d, const T& o) {
        d.DET_BC_CRED += o.DET_BC_CRED;
        d.DET_VALOR_AJ += o.DET_VALOR_AJ;
      });
}

void TM110_510_220_620AjusteCredImpList::Totalizar(
    const TM110_510_220_620AjusteCredImpList& AOrigem) {
  using T = TM110_510_220_620AjusteCredImp;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.FIND_AJ = o.FIND_AJ;
        d.FCOD_AJ = o.FCOD_AJ;
        d.FNUM_DOC = o.FNUM_DOC;
        d.FDESCR_AJ = o.FDESCR_AJ;
        d.FDT_REF = o.FDT_REF;
        d.FAjusteSCP = o.FAjusteSCP;
      },
      [](T& d, const T& o) {
        // Soma antes de juntar os detalhes: com detalhes o valor lido passa a ser a soma deles.
        d.FVL_AJ = d.GetVL_AJ() + o.GetVL_AJ();
        d.FM115_515_225_625List.Totalizar(o.FM115_515_225_625List);
      });
}

// --- M100 / M105 -----------------------------------------------------------------------

double TM105_505DetalheBCCredito::GetVL_BC() const {
  switch (FCST) {
    case 50: case 51: case 60: case 61: case 62:
      return GetVL_BC_NC();
    default:
      return FVL_BC;
  }
}

void TM105_505DetalheBCCreditoList::Totalizar(const TM105_505DetalheBCCreditoList& AOrigem) {
  using T = TM105_505DetalheBCCredito;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.FNAT_BC_CRED = o.FNAT_BC_CRED;
        d.FNAT_BC_CRED2 = o.FNAT_BC_CRED2;
        d.FCST = o.FCST;
        d.FDESC_CRED = o.FDESC_CRED;
      },
      [](T& d, const T& o) {
        d.FVL_BC_TOT += o.FVL_BC_TOT;
        d.FVL_BC_CUM += o.FVL_BC_CUM;
        d.FVL_BC = d.GetVL_BC() + o.GetVL_BC();
        d.FQUANT_BC_TOT += o.FQUANT_BC_TOT;
        d.FQUANT_BC += o.FQUANT_BC;
      });
}

double TM100_500CreditoImposto::GetVL_BC() const {
  double soma = 0;
  for (const auto& [chave, det] : FM105_505List) soma += det->GetVL_BC();
  return soma;
}

double TM100_500CreditoImposto::GetQUANT_BC() const {
  double soma = 0;
  for (const auto& [chave, det] : FM105_505List) soma += det->FQUANT_BC;
  return soma;
}

double TM100_500CreditoImposto::GetVL_CRED() const {
  double valor;
  if (FCOD_CRED == "109" || FIND_CRED_ORI == 1)
    valor = FVL_CRED;
  else if (FALIQ_QUANT > 0)
    valor = GetQUANT_BC() * FALIQ_QUANT;
  else
    valor = GetVL_BC() * FALIQ / 100;
  return R2(valor);
}

double TM100_500CreditoImposto::GetVL_AJUS_ACRES() const {
  double soma = 0;
  for (const auto& [chave, aj] : FM110_510List)
    if (aj->FIND_AJ == "1") soma += aj->GetVL_AJ();
  return soma;
}

double TM100_500CreditoImposto::GetVL_AJUS_REDUC() const {
  double soma = 0;
  for (const auto& [chave, aj] : FM110_510List)
    if (aj->FIND_AJ == "0") soma += aj->GetVL_AJ();
  return soma;
}

double TM100_500CreditoImposto::GetVL_CRED_DISP() const {
  return GetVL_CRED() + GetVL_AJUS_ACRES() - GetVL_AJUS_REDUC() - FVL_CRED_DIF;
}

double TM100_500CreditoImposto::GetSLD_CRED() const {
  return R2(GetVL_CRED_DISP()) - R2(FVL_CRED_DESC);
}

bool TM100_500CreditoImposto::GetIND_DESC_CRED() const {
  return R2(GetVL_CRED_DISP()) > R2(FVL_CRED_DESC);
}

void TM100_500CreditoImpostoList::Totalizar(const TM100_500CreditoImpostoList& AOrigem) {
  using T = TM100_500CreditoImposto;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.FCOD_CRED = o.FCOD_CRED;
        d.FIND_CRED_ORI = o.FIND_CRED_ORI;
        d.FALIQ = o.FALIQ;
        d.FALIQ_QUANT = o.FALIQ_QUANT;
      },
      [](T& d, const T& o) {
        d.FVL_CRED = d.GetVL_CRED() + o.GetVL_CRED();  // antes de juntar os filhos
        d.FVL_CRED_DIF += o.FVL_CRED_DIF;
        d.FVL_CRED_DESC += o.FVL_CRED_DESC;
        d.FM105_505List.Totalizar(o.FM105_505List);
        d.FM110_510List.Totalizar(o.FM110_510List);
      });
}

// --- M205 ------------------------------------------------------------------------------

void TM205_605ContribRecolherList::Totalizar(const TM205_605ContribRecolherList& AOrigem) {
  using T = TM205_605ContribRecolher;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.NUM_CAMPO = o.NUM_CAMPO;
        d.COD_REC = o.COD_REC;
      },
      [](T& d, const T& o) { d.VL_DEBITO += o.VL_DEBITO; });
}

// --- M210 e filhos ---------------------------------------------------------------------

void TM215_615AjusteBCContribPISList::Totalizar(const TM215_615AjusteBCContribPISList& AOrigem) {
  using T = TM215_615AjusteBCContribPIS;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.FIND_AJ_BC = o.FIND_AJ_BC;
        d.FCOD_AJ_BC = o.FCOD_AJ_BC;
        d.FNUM_DOC = o.FNUM_DOC;
        d.FDESCR_AJ_BC = o.FDESCR_AJ_BC;
        d.FDT_REF = o.FDT_REF;
        d.FCOD_CTA = o.FCOD_CTA;
        d.FCNPJ = o.FCNPJ;
        d.FINFO_COMPL = o.FINFO_COMPL;
      },
      [](T& d, const T& o) { d.FVL_AJ_BC += o.FVL_AJ_BC; });
}

void TM230_630InfAdicDiferidoList::Totalizar(const TM230_630InfAdicDiferidoList& AOrigem) {
  using T = TM230_630InfAdicDiferido;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.FCNPJ = o.FCNPJ;
        d.FCOD_CRED = o.FCOD_CRED;
      },
      [](T& d, const T& o) {
        d.FVL_VEND += o.FVL_VEND;
        d.FVL_NAO_RECEB += o.FVL_NAO_RECEB;
        d.FVL_CONT_DIF += o.FVL_CONT_DIF;
        d.FVL_CRED_DIF += o.FVL_CRED_DIF;
      });
}

void TM300_700DiferidoPerAntList::Totalizar(const TM300_700DiferidoPerAntList& AOrigem) {
  using T = TM300_700DiferidoPerAnt;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.FCOD_CONT = o.FCOD_CONT;
        d.FNAT_CRED_DESC = o.FNAT_CRED_DESC;
        d.FPER_APUR = o.FPER_APUR;
        d.FDT_RECEB = o.FDT_RECEB;
      },
      [](T& d, const T& o) {
        d.FVL_CONT_APUR_DIFER += o.FVL_CONT_APUR_DIFER;
        d.FVL_CRED_DESC_DIFER += o.FVL_CRED_DESC_DIFER;
      });
}

void TM211_611CoopComposBC::Totalizar(const TM211_611CoopComposBC& AOrigem) {
  FIND_TIP_COOP = AOrigem.FIND_TIP_COOP;
  FVL_BC_CONT_ANT_EXC_COOP += AOrigem.FVL_BC_CONT_ANT_EXC_COOP;
  FVL_EXC_COOP_GER += AOrigem.FVL_EXC_COOP_GER;
  FVL_EXC_ESP_COOP += AOrigem.FVL_EXC_ESP_COOP;
}

TM211_611CoopComposBC& TM210_610DetalheContrib::CriarM211_611() {
  FM211_611 = std::make_unique<TM211_611CoopComposBC>(this);
  return *FM211_611;
}

double TM210_610DetalheContrib::GetVL_BC_CONT() const {
  return FM211_611 ? FM211_611->GetVL_BC_CONT() : FVL_BC_CONT;
}

double TM210_610DetalheContrib::GetVL_AJUS_ACRES_BC_PIS() const {
  double soma = 0;
  for (const auto& [chave, aj] : FM215_615List)
    if (aj->FIND_AJ_BC == 1) soma += aj->FVL_AJ_BC;
  return soma;
}

double TM210_610DetalheContrib::GetVL_AJUS_REDUC_BC_PIS() const {
  double soma = 0;
  for (const auto& [chave, aj] : FM215_615List)
    if (aj->FIND_AJ_BC == 0) soma += aj->FVL_AJ_BC;
  return soma;
}

double TM210_610DetalheContrib::GetVL_BC_CONT_AJUS() const {
  return GetVL_BC_CONT() + GetVL_AJUS_ACRES_BC_PIS() - GetVL_AJUS_REDUC_BC_PIS();
}

double TM210_610DetalheContrib::GetVL_CONT_APUR() const {
  if (FQUANT_BC > 0) return R2(FQUANT_BC * FALIQ_QUANT);
  return R2(GetVL_BC_CONT_AJUS() * FALIQ / 100);
}

double TM210_610DetalheContrib::GetVL_AJUS_ACRES() const {
  double soma = 0;
  for (const auto& [chave, aj] : FM220_620List)
    if (aj->FIND_AJ == "1") soma += aj->GetVL_AJ();
  return soma;
}

double TM210_610DetalheContrib::GetVL_AJUS_REDUC() const {
  double soma = 0;
  for (const auto& [chave, aj] : FM220_620List)
    if (aj->FIND_AJ == "0") soma += aj->GetVL_AJ();
  return soma;
}

double TM210_610DetalheContrib::GetVL_CONT_DIFER() const {
  double soma = 0;
  for (const auto& [chave, dif] : FM230_630List) soma += dif->FVL_CONT_DIF;
  return soma;
}

double TM210_610DetalheContrib::GetVL_CONT_DIFER_ANT() const {
  double soma = 0;
  for (const auto& [chave, ant] : FM300_700List) soma += ant->GetVL_CONT_DIFER_ANT();
  return soma;
}

double TM210_610DetalheContrib::GetVL_CONT_PER() const {
  return GetVL_CONT_APUR() + GetVL_AJUS_ACRES() - GetVL_AJUS_REDUC() - GetVL_CONT_DIFER() +
         GetVL_CONT_DIFER_ANT();
}

void TM210_610DetalheContribList::Totalizar(const TM210_610DetalheContribList& AOrigem) {
  using T = TM210_610DetalheContrib;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.FCOD_CONT = o.FCOD_CONT;
        d.FALIQ = o.FALIQ;
        d.FALIQ_QUANT = o.FALIQ_QUANT;
      },
      [](T& d, const T& o) {
        d.FVL_REC_BRT += o.FVL_REC_BRT;
        d.FVL_BC_CONT = d.GetVL_BC_CONT() + o.GetVL_BC_CONT();
        d.FQUANT_BC += o.FQUANT_BC;
        d.FVlBctNCompCred += o.FVlBctNCompCred;
        d.FVlBctNCompRet += o.FVlBctNCompRet;
        // O M211 da origem substitui o do destino (um novo, ligado ao M210 de destino).
        if (o.FM211_611) {
          auto novo = std::make_unique<TM211_611CoopComposBC>(&d);
          novo->Totalizar(*o.FM211_611);
          d.FM211_611 = std::move(novo);
        }
        d.FM215_615List.Totalizar(o.FM215_615List);
        d.FM220_620List.Totalizar(o.FM220_620List);
        d.FM230_630List.Totalizar(o.FM230_630List);
        d.FM300_700List.Totalizar(o.FM300_700List);
      });
}

// --- M200 ------------------------------------------------------------------------------

double TM200_600ConsolidContribImposto::GetVL_TOT_CONT_NC_PER() const {
  double soma = 0;
  for (const auto& [chave, det] : FM210_610List)
    if (CodigoNaoCumulativo(CodigoNumerico(det->FCOD_CONT))) soma += det->GetVL_CONT_PER();
  return R2(soma);
}

double TM200_600ConsolidContribImposto::GetVL_TOT_CRED_DESC() const {
  double soma = 0;
  if (FListaCredito)
    for (const auto& [chave, cred] : *FListaCredito) soma += cred->FVL_CRED_DESC;
  return R2(soma);
}

double TM200_600ConsolidContribImposto::GetVL_TOT_CONT_NC_DEV() const {
  const double valor =
      R2(GetVL_TOT_CONT_NC_PER()) - R2(GetVL_TOT_CRED_DESC()) - R2(FVL_TOT_CRED_DESC_ANT);
  // Diferença de centavos abaixo de 0,10 não vira contribuição negativa. As parcelas têm duas
  // casas: compara-se o resultado arredondado, sem o ruído binário da subtração
  // (5,20 - 5,30 dá -0,0999999...).
  const double arredondado = R2(valor);
  if (arredondado < 0 && arredondado > -0.1) return 0;
  return valor;
}

double TM200_600ConsolidContribImposto::GetVL_CONT_NC_REC() const {
  return R2(GetVL_TOT_CONT_NC_DEV()) - R2(FVL_RET_NC) - R2(FVL_OUT_DED_NC);
}

double TM200_600ConsolidContribImposto::GetVL_TOT_CONT_CUM_PER() const {
  double soma = 0;
  for (const auto& [chave, det] : FM210_610List)
    if (CodigoCumulativo(CodigoNumerico(det->FCOD_CONT))) soma += det->GetVL_CONT_PER();
  return R2(soma);
}

double TM200_600ConsolidContribImposto::GetVL_CONT_CUM_REC() const {
  return GetVL_TOT_CONT_CUM_PER() - FVL_RET_CUM - FVL_OUT_DED_CUM;
}

double TM200_600ConsolidContribImposto::GetVL_TOT_CONT_REC() const {
  return GetVL_CONT_NC_REC() + GetVL_CONT_CUM_REC();
}

double TM200_600ConsolidContribImposto::GetRecNaoCompCred() const {
  double soma = 0;
  for (const auto& [chave, det] : FM210_610List)
    if (CodigoNaoCumulativo(CodigoNumerico(det->FCOD_CONT))) soma += det->GetVlContNCompCred();
  return R2(soma);
}

double TM200_600ConsolidContribImposto::GetRecNaoCompRet() const {
  double soma = 0;
  for (const auto& [chave, det] : FM210_610List) soma += det->GetVlContNCompRet();
  return R2(soma);
}

void TM200_600ConsolidContribImposto::Totalizar(const TM200_600ConsolidContribImposto& AOrigem) {
  FVL_TOT_CRED_DESC_ANT += AOrigem.FVL_TOT_CRED_DESC_ANT;
  FVL_RET_NC += AOrigem.FVL_RET_NC;
  FVL_OUT_DED_NC += AOrigem.FVL_OUT_DED_NC;
  FVL_RET_CUM += AOrigem.FVL_RET_CUM;
  FVL_OUT_DED_CUM += AOrigem.FVL_OUT_DED_CUM;
  FVL_DIFERIDO_CUM += AOrigem.FVL_DIFERIDO_CUM;
  FVL_DIFERIR_CUM += AOrigem.FVL_DIFERIR_CUM;
  FM205_605List.Totalizar(AOrigem.FM205_605List);
  FM210_610List.Totalizar(AOrigem.FM210_610List);
}

// --- M350 / M400 -----------------------------------------------------------------------

void TM350FolhaSalarioPIS::Totalizar(const TM350FolhaSalarioPIS& AOrigem) {
  VL_TOT_FOL = AOrigem.VL_TOT_FOL;
  VL_EXC_BC = AOrigem.VL_EXC_BC;
  VL_TOT_BC = AOrigem.VL_TOT_BC;
  ALIQ_PIS_FOL = AOrigem.ALIQ_PIS_FOL;
  VL_TOT_CONT_FOL = AOrigem.VL_TOT_CONT_FOL;
}

void TM410_810DetalRecIsentaList::Totalizar(const TM410_810DetalRecIsentaList& AOrigem) {
  using T = TM410_810DetalRecIsenta;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.NAT_REC = o.NAT_REC;
        d.COD_CTA = o.COD_CTA;
        d.DESC_COMPL = o.DESC_COMPL;
        d.TipoDebito = o.TipoDebito;
      },
      [](T& d, const T& o) { d.VL_REC += o.VL_REC; });
}

double TM400_800ReceitaIsenta::GetVL_TOT_REC() const {
  double soma = 0;
  for (const auto& [chave, det] : FM410_810List) soma += det->VL_REC;
  return soma;
}

void TM400_800ReceitaIsentaList::Totalizar(const TM400_800ReceitaIsentaList& AOrigem) {
  using T = TM400_800ReceitaIsenta;
  TotalizarLista(
      *this, AOrigem,
      [](T& d, const T& o) {
        d.FCST = o.FCST;
        d.FCOD_CTA = o.FCOD_CTA;
        d.FDESC_COMPL = o.FDESC_COMPL;
      },
      [](T& d, const T& o) { d.FM410_810List.Totalizar(o.FM410_810List); });
}

// --- M001 ------------------------------------------------------------------------------

TM001AberturaBloco::TM001AberturaBloco()
    : FM200(std::make_unique<TM200_600ConsolidContribImposto>(&FM100List)),
      FM600(std::make_unique<TM200_600ConsolidContribImposto>(&FM500List)) {}

void TM001AberturaBloco::Totalizar(const TM001AberturaBloco& AOrigem) {
  FM100List.Totalizar(AOrigem.FM100List);
  FM200->Totalizar(*AOrigem.FM200);
  if (AOrigem.FM350) {
    auto novo = std::make_unique<TM350FolhaSalarioPIS>();
    novo->Totalizar(*AOrigem.FM350);
    FM350 = std::move(novo);
  }
  FM400List.Totalizar(AOrigem.FM400List);
  FM500List.Totalizar(AOrigem.FM500List);
  FM600->Totalizar(*AOrigem.FM600);
  FM800List.Totalizar(AOrigem.FM800List);
}
