#pragma once
// M350 (folha) e M400/M800 com o M410/M810 calculados a partir dos lançamentos: variantes dos
// repositórios LctoEFD e LctoDacon.
#include "blocom/generators/nFisEFDGeradorBlocoM350M400_U.h"

class TnFisEFDGeradorM350LctoDacon : public TnFisEFDGeradorM350Lcto {
 public:
  using TnFisEFDGeradorM350Lcto::TnFisEFDGeradorM350Lcto;
  std::string GetTabelaFolha() override;
};

class TnFisEFDGeradorM400_M800Lcto : public TnFisEFDGeradorM400_M800 {
 public:
  using TnFisEFDGeradorM400_M800::TnFisEFDGeradorM400_M800;
  void CriarGeradoresFilhos() override;
};

class TnFisEFDGeradorM410_M810Lcto : public TnFisEFDGeradorM410_M810 {
 public:
  using TnFisEFDGeradorM410_M810::TnFisEFDGeradorM410_M810;
  void CarregarDados() override;
};

class TnFisEFDGeradorM410_M810LctoDacon : public TnFisEFDGeradorM410_M810Lcto {
 public:
  using TnFisEFDGeradorM410_M810Lcto::TnFisEFDGeradorM410_M810Lcto;
  int GetTipoApuracao(int) override { return 0; }
};
