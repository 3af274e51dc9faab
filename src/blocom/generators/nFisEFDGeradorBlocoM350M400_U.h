#pragma once
// M350 (PIS sobre a folha) e M400/M800 com o detalhe M410/M810 (receitas isentas ou não
// tributadas): classes base e as variantes a partir das tabelas já apuradas.
#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/control/nFisEFDGeradorBlocoM_U.h"

struct TRecM350 {
  double VL_TOT_FOL = 0, VL_EXC_BC = 0, VL_TOT_BC = 0, ALIQ_PIS_FOL = 0, VL_TOT_CONT_FOL = 0;
};

class TnFisEFDGeradorM350 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  std::string GetNomeRegistro() override { return "M350"; }
};

class TnFisEFDGeradorM350Lcto : public TnFisEFDGeradorM350 {
 public:
  using TnFisEFDGeradorM350::TnFisEFDGeradorM350;
  void CarregarDados() override;
  virtual std::string GetTabelaFolha() = 0;
  virtual TTipoApuracao GetTipoApuracaoM350() { return TTipoApuracao::taNormal; }
  std::string GetSqlFolha();

 protected:
  void GerarM350(const TRecM350& ARec);
};

class TnFisEFDGeradorM350LctoEFD : public TnFisEFDGeradorM350Lcto {
 public:
  using TnFisEFDGeradorM350Lcto::TnFisEFDGeradorM350Lcto;
  std::string GetTabelaFolha() override { return "EFDPISPASEPFOLHA"; }
};

class TnFisEFDGeradorM350EFD : public TnFisEFDGeradorM350LctoEFD {
 public:
  using TnFisEFDGeradorM350LctoEFD::TnFisEFDGeradorM350LctoEFD;
  TTipoApuracao GetTipoApuracaoM350() override { return TTipoApuracao::taEFD; }
};

struct TRecM410_810 {
  std::string NAT_REC;
  double VL_REC = 0;
  std::string COD_CTA;
  std::string DESC_COMPL;
  int CstMestre = 0;
  std::string TipoDebito;
  TTipoApuracao TipoApuracao = TTipoApuracao::taNormal;
};

class TnFisEFDGeradorM400_M800 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  void CarregarDados() override {}
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M400" : "M800"; }
};

class TnFisEFDGeradorM400_M800EFD : public TnFisEFDGeradorM400_M800 {
 public:
  using TnFisEFDGeradorM400_M800::TnFisEFDGeradorM400_M800;
  void CriarGeradoresFilhos() override;
};

class TnFisEFDGeradorM410_M810 : public TnFisEFDGeradorBlocoM {
 public:
  using TnFisEFDGeradorBlocoM::TnFisEFDGeradorBlocoM;
  std::string GetNomeRegistro() override { return FImposto == 15 ? "M410" : "M810"; }
  TM400_800ReceitaIsentaList& GetLstM400_800(TTipoApuracao ATipo);
  TM400_800ReceitaIsenta& GetM400_800(TTipoApuracao ATipo, int ACst, const std::string& AContaContabil);
  void GerarM410_810(const TRecM410_810& ARec);
  static std::unique_ptr<TM410_810DetalRecIsenta> RecParaObj(const TRecM410_810& ARec);
};

class TnFisEFDGeradorM410_M810EFD : public TnFisEFDGeradorM410_M810 {
 public:
  using TnFisEFDGeradorM410_M810::TnFisEFDGeradorM410_M810;
  void CarregarDados() override;
  std::string GetSqlTotalIsentas() const;
  TParams GetParams() const;
};
