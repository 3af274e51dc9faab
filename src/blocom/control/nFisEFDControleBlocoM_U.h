#pragma once
// Contexto de uma execução do Bloco M: configuração, controle de créditos, proporção,
// apuração extra, resultados das SCP e o mapa de M001 por tipo de apuração.
#include <memory>
#include <string>
#include <vector>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "blocom/model/nFisRepositorioEFDModel_U.h"
#include "credits/nFisEFDControleCredito_U.h"
#include "extra/nFisEFDExtraApuracao_U.h"

class TnFisProporcaoCreditos;

// Resultado completo do Bloco M de um estabelecimento SCP.
class TSCP {
 public:
  TSCP(std::string ACNPJ, std::unique_ptr<TMapaAberturaBloco> AEFD) : CNPJ(std::move(ACNPJ)), EFD(std::move(AEFD)) {}
  std::string CNPJ;
  std::unique_ptr<TMapaAberturaBloco> EFD;
};

class TnFisEFDControleBlocoM {
 public:
  TnFisEFDControleBlocoM();
  virtual ~TnFisEFDControleBlocoM();
  TnFisEFDControleBlocoM(const TnFisEFDControleBlocoM&) = delete;
  TnFisEFDControleBlocoM& operator=(const TnFisEFDControleBlocoM&) = delete;

  const TConfigBlocoM& GetConfigBlocoM() const { return FConfigBlocoM; }

  void CarregarUtilitarios();
  void CarregarControleCredito();
  void CarregarProporcaoCredito();
  void CarregarExtraApuracao();
  int GetProporcaoRecCum();

  // M001 do tipo de apuração; criado (vazio) quando ainda não existe.
  TM001AberturaBloco& GetRegistroM001(TTipoApuracao ATipo);

  // Valor da proporção do crédito de um CST num campo (ordinal de TnFisPropCredCstCampos).
  double GetValorCreditoCst(int ACst, int ACampo);
  TnFisProporcaoCreditos* GetProporcaoCredito() { return FProporcaoCredito.get(); }
  TnFisEFDControleCredito* GetControleCredito() { return FControleCredito.get(); }
  TnFisEFDExtraApuracao* GetExtraApuracao() { return FExtraApuracao.get(); }

  TConfigBlocoM FConfigBlocoM;
  std::unique_ptr<TnFisEFDControleCredito> FControleCredito;
  std::unique_ptr<TnFisProporcaoCreditos> FProporcaoCredito;
  TDadosDacon FDadosDacon;
  bool FDeveProcessarCreditos = false;
  TFormaCarregarProporcao FFormaCarregarProporcao = TFormaCarregarProporcao::fpCarregarBanco;
  std::vector<std::unique_ptr<TSCP>> FListaSCP;
  TMapaAberturaBloco* FLstRegistroM001 = nullptr;  // do chamador do repositório
  std::unique_ptr<TnFisEFDExtraApuracao> FExtraApuracao;
};
