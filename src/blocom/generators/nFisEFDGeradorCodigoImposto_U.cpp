#include "blocom/generators/nFisEFDGeradorCodigoImposto_U.h"

#include <fmt/format.h>

#include "base/Erros.h"
#include "host/OpcaoEFD.h"

namespace {
// Códigos dos tipos 62 e 63 e das SCP: (PIS, COFINS).
struct TCodigoFixo {
  int Pis, Cofins;
};

TImposto Escolher(const TnFisEFDGeradorCodigoImposto& g, bool APis) {
  const int variacaoEspecial = g.FModoGeracao == TModoGeracao::mgSCP ? 4 : 3;
  auto fixo = [&](TCodigoFixo c, int variacao) { return TImposto(APis ? c.Pis : c.Cofins, variacao); };
  switch (g.FTipoApuracao) {
    case TTipoApuracao::ta62:
      return fixo({679, 760}, variacaoEspecial);
    case TTipoApuracao::ta63:
      return fixo({691, 776}, variacaoEspecial);
    case TTipoApuracao::taNormal:
      break;
    default:
      throw EPisco(fmt::format("Imposto Não Localizado Para Tipo Apuração: {:02}", static_cast<int>(g.FTipoApuracao)));
  }
  const bool scp = g.FModoGeracao == TModoGeracao::mgSCP;
  auto& op = ControleOpcaoEFD();
  if (g.FIncTributaria == itRegimeCumulativo) {
    if (scp) return fixo({8109, 2172}, 8);
    return APis ? TImposto(op.GetCodigoImpostoPISCum(), op.GetVariacaoImpostoPISCum())
                : TImposto(op.GetCodigoImpostoCOFINSCum(), op.GetVariacaoImpostoCOFINSCum());
  }
  if (scp) return fixo({6912, 5856}, 8);
  return APis ? TImposto(op.GetCodigoImpostoPISNCum(), op.GetVariacaoImpostoPISNCum())
              : TImposto(op.GetCodigoImpostoCOFINSNCum(), op.GetVariacaoImpostoCOFINSNCum());
}
}  // namespace

TImposto TnFisEFDGeradorCodigoImposto::CarregarImposto() const {
  return FTipoImposto == 15 ? CarregarImpostoPIS() : CarregarImpostoCOFINS();
}

TImposto TnFisEFDGeradorCodigoImposto::CarregarImpostoPIS() const { return Escolher(*this, true); }

TImposto TnFisEFDGeradorCodigoImposto::CarregarImpostoCOFINS() const { return Escolher(*this, false); }
