#pragma once
// M100/M500 (crédito por tipo, alíquota e origem) e seus filhos M105/M505, M110/M510 e
// M115/M515 — classes base dos pares e as variantes EFD, que copiam os totais já apurados.
#include <functional>

#include "host/FieldMapper.h"

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/control/nFisEFDGeradorBlocoM_U.h"

class TnFisEFDGeradorM100_M500 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M100" : "M500"; }
  TM100_500CreditoImpostoList& GetLstM100_500(TTipoApuracao ATipo);
};

class TnFisEFDGeradorM100_M500EFD : public TnFisEFDGeradorM100_M500 {
 public:
  using TnFisEFDGeradorM100_M500::TnFisEFDGeradorM100_M500;
  void CarregarDados() override;
  void CriarGeradoresFilhos() override;
};

class TnFisEFDGeradorM105_M505 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M100" : "M500"; }
  TM100_500CreditoImpostoList& GetLstM100_500(TTipoApuracao ATipo);
};

class TnFisEFDGeradorM105_M505EFD : public TnFisEFDGeradorM105_M505 {
 public:
  using TnFisEFDGeradorM105_M505::TnFisEFDGeradorM105_M505;
  void CarregarDados() override;
};

class TnFisEFDGeradorM110_M510 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M110" : "M510"; }
  TM100_500CreditoImpostoList& GetLstM100_500(TTipoApuracao ATipo);
};

class TnFisEFDGeradorM110_M510EFD : public TnFisEFDGeradorM110_M510 {
 public:
  using TnFisEFDGeradorM110_M510::TnFisEFDGeradorM110_M510;
  void CarregarDados() override;
  void CriarGeradoresFilhos() override;
};

class TnFisEFDGeradorM115_M515 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M115" : "M515"; }
  TM100_500CreditoImpostoList& GetLstM100_500(TTipoApuracao ATipo);
};

class TnFisEFDGeradorM115_M515EFD : public TnFisEFDGeradorM115_M515 {
 public:
  using TnFisEFDGeradorM115_M515::TnFisEFDGeradorM115_M515;
  void CarregarDados() override;
};

// Data do banco como "ddmmyyyy"; vazio quando nula ou não positiva.
std::string DataTotalEFD(const TFieldRef& ACampo);

// Ajustes já apurados (M110/M510 com tipo 0, M220/M620 com tipo 1), cada um na lista de
// ajustes do pai SEQCREDDEB.
inline constexpr const char* kCamposAjusteEFD =
    " SEQ,  SEQCREDDEB,  TIPOAJUSTE,  INDAJ,  VLAJ,  CODAJ,  NUMDOC,  DESCRAJ,  DTREF ";
void CarregarAjustesEFD(std::unique_ptr<TDataSet> ADs,
                        const std::function<TM110_510_220_620AjusteCredImpList&(int64_t)>& AAjustesDoPai);

// Detalhes de ajuste já apurados (M115/M515 com tipo 0, M225/M625 com tipo 1).
std::string GetSqlTotalEFDAjusteDet(bool AEstab, int ATipoAjuste);
// Pendura cada detalhe no ajuste SEQAJUSTE da lista de ajustes do pai SEQCREDDEB.
void CarregarDetalhesAjusteEFD(TnFisEFDGeradorBlocoM& AGerador, std::unique_ptr<TDataSet> ADs,
                               const std::function<TM110_510_220_620AjusteCredImpList&(int64_t)>& AAjustesDoPai);
