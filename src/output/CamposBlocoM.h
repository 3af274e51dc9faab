#pragma once
// Valores dos campos de cada registro do Bloco M, lidos da árvore de registros na ordem do
// leiaute. Os escritores de texto e de JSON usam as mesmas funções, então os dois mostram
// sempre os mesmos valores.
#include <cstdint>
#include <string>
#include <vector>

#include "blocom/model/nFisRepositorioEFDModel_U.h"
#include "output/LayoutBlocoM.h"

struct TValorCampo {
  enum class TTipo { Vazio, Texto, Inteiro, Decimal };
  TTipo Tipo = TTipo::Vazio;
  std::string Texto;
  int64_t Inteiro = 0;
  double Decimal = 0;

  static TValorCampo Nulo() { return {}; }
  static TValorCampo DeTexto(std::string ATexto) {
    TValorCampo v;
    v.Tipo = TTipo::Texto;
    v.Texto = std::move(ATexto);
    return v;
  }
  static TValorCampo DeInteiro(int64_t AValor) {
    TValorCampo v;
    v.Tipo = TTipo::Inteiro;
    v.Inteiro = AValor;
    return v;
  }
  static TValorCampo DeDecimal(double AValor) {
    TValorCampo v;
    v.Tipo = TTipo::Decimal;
    v.Decimal = AValor;
    return v;
  }
};

using TCampos = std::vector<TValorCampo>;

// Nomes dos registros de cada lado (PIS: M100, M105, ...; COFINS: M500, M505, ...).
struct TNomesBlocoM {
  const char* M100; const char* M105; const char* M110; const char* M115;
  const char* M200; const char* M205; const char* M210; const char* M211;
  const char* M215; const char* M220; const char* M225; const char* M230;
  const char* M300; const char* M400; const char* M410;
};
const TNomesBlocoM& NomesPIS();
const TNomesBlocoM& NomesCOFINS();

// Registro calculado por quantidade: alíquota por unidade acima de zero.
inline bool PorQuantidade(const TM100_500CreditoImposto& ACredito) {
  return ACredito.FALIQ_QUANT > 0;
}
inline bool PorQuantidade(const TM210_610DetalheContrib& AContrib) {
  return AContrib.FALIQ_QUANT > 0;
}

// Campos depois de REG. Num registro por quantidade ficam vazios a base (M100, M105) e a
// alíquota em percentual; num registro por alíquota, os campos de quantidade.
TCampos CamposM001(bool ATemMovimento);
TCampos CamposM100(const TM100_500CreditoImposto& ARegistro);
TCampos CamposM105(const TM105_505DetalheBCCredito& ARegistro, bool APorQuantidade);
TCampos CamposM110(const TM110_510_220_620AjusteCredImp& ARegistro);  // e M220
TCampos CamposM115(const TM115_515_225_625AjusteCredDet& ARegistro);  // e M225
TCampos CamposM200(const TM200_600ConsolidContribImposto& ARegistro);
TCampos CamposM205(const TM205_605ContribRecolher& ARegistro);
TCampos CamposM210(const TM210_610DetalheContrib& ARegistro);
TCampos CamposM211(const TM211_611CoopComposBC& ARegistro);
TCampos CamposM215(const TM215_615AjusteBCContribPIS& ARegistro);
TCampos CamposM230(const TM230_630InfAdicDiferido& ARegistro);
TCampos CamposM300(const TM300_700DiferidoPerAnt& ARegistro);
TCampos CamposM350(const TM350FolhaSalarioPIS& ARegistro);
TCampos CamposM400(const TM400_800ReceitaIsenta& ARegistro);
TCampos CamposM410(const TM410_810DetalRecIsenta& ARegistro);
TCampos CamposM990(int AQuantidadeLinhas);


// Texto do campo no arquivo: decimais com vírgula e as casas do formato do campo, textos sem
// "|" nem quebras de linha. Lança EPisco se o valor não cabe no tipo do campo.
std::string FormatarCampo(const TValorCampo& AValor, const TCampoLayout& ACampo);
// Valor arredondado às casas do campo (o que o arquivo mostra).
double ValorArredondado(const TValorCampo& AValor, const TCampoLayout& ACampo);
