#pragma once
// M200/M600 (consolidação da contribuição) e a subárvore M205..M300 — classes base dos
// pares e as variantes EFD, que copiam os totais já apurados.
#include <memory>

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/control/nFisEFDGeradorBlocoM_U.h"
#include "blocom/generators/nFisEFDGeradorCodigoImposto_U.h"

TM200_600ConsolidContribImposto& RegM200_600(TnFisEFDControleBlocoM& AControle, int16_t AImposto, TTipoApuracao ATipo);

class TnFisEFDGeradorM200_M600 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M200" : "M600"; }
  TM200_600ConsolidContribImposto& GetRegM200_600(TTipoApuracao ATipo) { return RegM200_600(Controle(), FImposto, ATipo); }
};

class TnFisEFDGeradorM200_M600EFD : public TnFisEFDGeradorM200_M600 {
 public:
  using TnFisEFDGeradorM200_M600::TnFisEFDGeradorM200_M600;
  void CarregarDados() override;
  void CriarGeradoresFilhos() override;
};

// --- M205/M605 ---

struct TRecM205_605 {
  TTipoApuracao TipoApuracao = TTipoApuracao::taNormal;
  std::string NUM_CAMPO;
  std::string COD_REC;
  double VL_DEBITO = 0;
  bool DebitoSCP = false;
};

class TnFisEFDGeradorM205_M605 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M205" : "M605"; }
  TM200_600ConsolidContribImposto& GetRegM200_600(TTipoApuracao ATipo) { return RegM200_600(Controle(), FImposto, ATipo); }
};

class TnFisEFDGeradorM205_M605Lcto : public TnFisEFDGeradorM205_M605 {
 public:
  using TnFisEFDGeradorM205_M605::TnFisEFDGeradorM205_M605;
  void GerarM205_605(const TRecM205_605& ARec);
  static std::unique_ptr<TM205_605ContribRecolher> RecParaObj(const TRecM205_605& ARec);
};

class TnFisEFDGeradorM205_M605LctoEFD : public TnFisEFDGeradorM205_M605Lcto {
 public:
  TnFisEFDGeradorM205_M605LctoEFD(TnFisEFDControleBlocoM& AControle, int16_t AImposto);
  void CarregarDados() override {}
  void CarregarDadosM205_605();
  std::string GetCodigoImposto(TIncidenciaTrib AIncidencia, TTipoApuracao ATipo);
  std::string GetCodigoRecolhimento(const TM205_605ContribRecolher& ARegistro, TTipoApuracao ATipo);
  static TIncidenciaTrib GetTipoRegime(const std::string& ANumCampo);

  virtual TTipoApuracao GetTipoApuracaoM205_M605(TTipoApuracao ATipo) { return ATipo; }
  virtual void DescontarValorDebitoSCP(TRecM205_605& ARec);
  virtual void TransferirDebitoSCPParaOstensiva();

 protected:
  std::unique_ptr<TnFisEFDGeradorCodigoImposto> FGeradorCodigoImposto;
};

class TnFisEFDGeradorM205_M605EFD : public TnFisEFDGeradorM205_M605LctoEFD {
 public:
  using TnFisEFDGeradorM205_M605LctoEFD::TnFisEFDGeradorM205_M605LctoEFD;
  void CarregarDados() override;
  TTipoApuracao GetTipoApuracaoM205_M605(TTipoApuracao) override { return TTipoApuracao::taNormal; }
  void DescontarValorDebitoSCP(TRecM205_605&) override {}
  void TransferirDebitoSCPParaOstensiva() override {}
};

// --- M210/M610 e M211/M611 ---

class TnFisEFDGeradorM210_M610 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M210" : "M610"; }
  TM200_600ConsolidContribImposto& GetRegM200_600(TTipoApuracao ATipo) { return RegM200_600(Controle(), FImposto, ATipo); }
};

class TnFisEFDGeradorM210_M610EFD : public TnFisEFDGeradorM210_M610 {
 public:
  using TnFisEFDGeradorM210_M610::TnFisEFDGeradorM210_M610;
  void CarregarDados() override;
  void CriarGeradoresFilhos() override;
};

// Filhos de um M210/M610: todos localizam a lista de detalhes do tipo de apuração.
class TnFisEFDGeradorFilhoM210 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  TM210_610DetalheContribList& GetLstM210_610(TTipoApuracao ATipo) {
    return RegM200_600(Controle(), FImposto, ATipo).FM210_610List;
  }
};

class TnFisEFDGeradorM211_M611 : public TnFisEFDGeradorFilhoM210 {
 public:
  using TnFisEFDGeradorFilhoM210::TnFisEFDGeradorFilhoM210;
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M211" : "M611"; }
};

class TnFisEFDGeradorM211_M611EFD : public TnFisEFDGeradorM211_M611 {
 public:
  using TnFisEFDGeradorM211_M611::TnFisEFDGeradorM211_M611;
  void CarregarDados() override;
};

#define PISCO_GERADOR_FILHO_M210(PAR, PIS, COFINS)                                              \
  class TnFisEFDGerador##PAR : public TnFisEFDGeradorFilhoM210 {                                \
   public:                                                                                     \
    using TnFisEFDGeradorFilhoM210::TnFisEFDGeradorFilhoM210;                                  \
    std::string GetNomeRegistro() override { return FImposto == 15 ? PIS : COFINS; }            \
  };                                                                                           \
  class TnFisEFDGerador##PAR##EFD : public TnFisEFDGerador##PAR {                               \
   public:                                                                                     \
    using TnFisEFDGerador##PAR::TnFisEFDGerador##PAR;                                          \
    void CarregarDados() override;                                                             \
  };

PISCO_GERADOR_FILHO_M210(M215_M615, "M215", "M615")
PISCO_GERADOR_FILHO_M210(M225_M625, "M225", "M625")
PISCO_GERADOR_FILHO_M210(M230_M630, "M230", "M630")
PISCO_GERADOR_FILHO_M210(M300_M700, "M300", "M700")
#undef PISCO_GERADOR_FILHO_M210

class TnFisEFDGeradorM220_M620 : public TnFisEFDGeradorFilhoM210 {
 public:
  using TnFisEFDGeradorFilhoM210::TnFisEFDGeradorFilhoM210;
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M220" : "M620"; }
};

class TnFisEFDGeradorM220_M620EFD : public TnFisEFDGeradorM220_M620 {
 public:
  using TnFisEFDGeradorM220_M620::TnFisEFDGeradorM220_M620;
  void CarregarDados() override;
  void CriarGeradoresFilhos() override;
};
