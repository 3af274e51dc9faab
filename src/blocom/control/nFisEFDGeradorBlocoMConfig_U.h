#pragma once
// Configuração de uma execução do Bloco M.
#include <cstdint>
#include <functional>
#include <string>

#include "host/DataSet.h"
#include "base/DateTime.h"

enum class TModoGeracao : uint8_t { mgEmpresa = 0, mgFilial = 1, mgSCP = 2 };

enum class TFormaCarregarProporcao : uint8_t { fpExecutarProporcao = 0, fpCarregarBanco = 1 };

struct TDadosDacon {
  bool OptanteLucroReal = false;
  bool OptanteLucroPres = false;
  TDateTime DataOpcao = 0;
};

// Aviso da execução (dado que o usuário precisa ver e que não impede o bloco); sem ele, stderr.
using TDoAviso = std::function<void(const std::string&)>;

struct TConfigBlocoM {
  int32_t CodigoEmpresa = 0;
  std::string CodigoEstab;
  std::string CodigoEstabExtraApuracao;
  TDateTime DataInicial = 0;
  TDateTime DataFinal = 0;
  bool RegimeCaixa = false;
  TModoGeracao ModoGeracao = TModoGeracao::mgEmpresa;
  TDoIncProgresso DoIncProgresso;
  std::string IndNatPessoaJurid;
  TDoAviso DoAviso;

  bool GetTemEstabSCPAtivo() const;
  std::string GetFiltroListaEstabSCP(const std::string& APrefixo) const;
  TDateTime GetUltimoPeriodoApuradoComSldSCPNaOstensiva() const;
  bool ApurTemSldSCPNaOstensiva() const;
  std::string ToString() const;
};

// Estabelecimento como inteiro; 1 quando o texto não é um número.
int32_t EstabComoInteiro(const std::string& ATexto, int32_t APadrao = 1);
